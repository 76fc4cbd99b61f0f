#!/usr/bin/env bash
# split_bench.sh [TOOL]: times veskra-split against GNU `split -n l/N` for
# N = 10 and N = 10000 on a reproducible 200 MB GBK book with CR LF lines,
# and `cp` of the book as the floor for the bytes written. Each time is the
# median of 5 runs (wall clock, to the millisecond), each writing into a
# fresh folder; peak resident memory is the median too. TOOL defaults to build/release/veskra-split.
# Targets: time <= 1.2 x split for both N; peak memory <= 1.1 x the book's
# size + 32 MiB. Exit code 0 when every target is met, 1 otherwise.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
tool=$(realpath "${1:-$root/build/release/veskra-split}")
work=$root/build/bench
runs=5
megabytes=${VESKRA_BENCH_MB:-200}
mkdir -p "$work"
book=$work/book-${megabytes}mb.txt
if [[ ! -s $book ]]; then
  echo "generating $book ..."
  python3 "$root/bench/make_book.py" "$book.part" "$megabytes"
  mv "$book.part" "$book"
fi
book_bytes=$(stat -c %s "$book")

# measure NAME COMMAND...: runs the command $runs times in fresh folders
# (the book hard-linked in as book.txt) and sets seconds and kib to the
# medians.
measure() {
  local name=$1 i
  shift
  local times=() peaks=()
  for ((i = 0; i < runs; i++)); do
    rm -rf "$work/run"
    mkdir "$work/run"
    ln "$book" "$work/run/book.txt"
    sync
    local start end
    start=$(date +%s%N)
    (cd "$work/run" && /usr/bin/time -o "$work/time.txt" -f '%M' "$@" >/dev/null)
    end=$(date +%s%N)
    read -r m <"$work/time.txt"
    times+=("$(printf '%d.%03d' $(((end - start) / 1000000000)) $(((end - start) / 1000000 % 1000)))")
    peaks+=("$m")
  done
  rm -rf "$work/run"
  seconds=$(printf '%s\n' "${times[@]}" | sort -g | sed -n "$((runs / 2 + 1))p")
  kib=$(printf '%s\n' "${peaks[@]}" | sort -g | sed -n "$((runs / 2 + 1))p")
  printf '%-26s %8.3f s %10.1f MiB   (runs: %s)\n' "$name" "$seconds" \
    "$(echo "$kib / 1024" | bc -l)" "${times[*]}"
}

echo "book: $book_bytes bytes; tool: $tool; median of $runs runs"
met=1
limit_kib=$(echo "($book_bytes * 1.1 + 32 * 1048576) / 1024" | bc -l)
measure "cp (floor)" cp book.txt copy.txt
cp_seconds=$seconds
for n in 10 10000; do
  measure "split -n l/$n" split -n "l/$n" book.txt piece.
  split_seconds=$seconds
  measure "veskra-split ($n)" "$tool" book.txt "$n"
  ratio=$(echo "$seconds / $split_seconds" | bc -l)
  floor=$(echo "$seconds / $cp_seconds" | bc -l)
  verdict=met
  if (($(echo "$ratio > 1.2" | bc -l))); then verdict=MISSED met=0; fi
  printf '  N=%-6s time vs split %.2f (target <= 1.20, %s); vs cp %.2f\n' "$n" "$ratio" "$verdict" "$floor"
  verdict=met
  if (($(echo "$kib > $limit_kib" | bc -l))); then verdict=MISSED met=0; fi
  printf '  N=%-6s peak memory %.1f MiB (target <= %.1f MiB, %s)\n' "$n" "$(echo "$kib / 1024" | bc -l)" \
    "$(echo "$limit_kib / 1024" | bc -l)" "$verdict"
done
((met)) && echo "all targets met" || { echo "a target was missed"; exit 1; }
