#!/usr/bin/env bash
# Builds the fuzz targets of the core with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, then runs each for SECONDS (default 30).
#   scripts/fuzz.sh            # the short run CI does, 30 s a target
#   scripts/fuzz.sh 600        # a long run, 10 minutes a target
#   scripts/fuzz.sh 60 find    # only the named targets
# New inputs go to build/robust-fuzz/corpus/<target> (the committed seeds in
# fuzz/corpus/<target> are only read); a crash leaves its input in
# build/robust-fuzz/artifacts/ and makes the script fail. The last line
# gives the executions of all targets together.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-30}"
shift || true
all_targets=(parse_integer find stop_byte read_book cut_pieces split_book notice)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")

out="${VESKRA_FUZZ_DIR:-build/robust-fuzz}"
mkdir -p "$out/bin" "$out/artifacts" "$out/logs"
cxx="${CXX_FUZZ:-clang++}"
flags=(-std=c++20 -g -O1 -Wall -Wextra -Wshadow -Werror -fno-omit-frame-pointer
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -Isrc -Ifuzz)

sources_for() {
  case "$1" in
    parse_integer | find) echo src/text/byte_text.cpp ;;
    stop_byte) echo src/split/stop_byte.cpp ;;
    read_book) echo src/text/byte_text.cpp src/split/stop_byte.cpp src/split/file_access_posix.cpp ;;
    cut_pieces) echo src/text/byte_text.cpp src/split/cut_pieces.cpp ;;
    split_book)
      echo src/text/byte_text.cpp src/split/stop_byte.cpp src/split/cut_pieces.cpp \
        src/split/file_access_posix.cpp src/split/split_book.cpp
      ;;
    notice) echo src/text/byte_text.cpp src/notice/notice.cpp ;;
    *) echo "unknown fuzz target: $1" >&2; return 1 ;;
  esac
}

# Each source of the core is compiled once a run, however many targets use it.
mkdir -p "$out/obj"
declare -A compiled=()
for t in "${targets[@]}"; do
  objects=()
  for src in $(sources_for "$t"); do
    obj="$out/obj/$(echo "${src#src/}" | tr / _).o"
    if [ -z "${compiled[$src]:-}" ]; then
      "$cxx" "${flags[@]}" -c -o "$obj" "$src"
      compiled[$src]=1
    fi
    objects+=("$obj")
  done
  "$cxx" "${flags[@]}" -o "$out/bin/${t}_fuzz" "fuzz/${t}_fuzz.cpp" "${objects[@]}"
done

# read_book and split_book write their files in TMPDIR: memory is much faster than a disk.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

total=0
failed=()
for t in "${targets[@]}"; do
  mkdir -p "$out/corpus/$t"
  log="$out/logs/$t.log"
  echo "== $t: ${seconds}s"
  if ! ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
      timeout $((seconds + 120)) "$out/bin/${t}_fuzz" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
      -print_final_stats=1 -artifact_prefix="$out/artifacts/${t}-" \
      "$out/corpus/$t" "fuzz/corpus/$t" >"$log" 2>&1; then
    failed+=("$t")
    tail -n 40 "$log"
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  echo "   executions: ${runs:-0}"
  total=$((total + ${runs:-0}))
done

echo "total executions: $total"
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz targets that failed: ${failed[*]} (inputs in $out/artifacts)" >&2
  exit 1
fi
