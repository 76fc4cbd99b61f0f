#!/usr/bin/env bash
# cli_test.sh PLATFORM VERSION TOOL...: runs veskra-split (TOOL..., the
# emulator first for Windows) on small books in a scratch folder and checks
# its output, its exit codes and the pieces byte for byte.
set -uo pipefail
platform=$1 version=$2
shift 2
tool=("$@")
# The tool runs from the scratch folder, so a relative path is made absolute.
last=$((${#tool[@]} - 1))
[[ -e ${tool[last]} ]] && tool[last]=$(realpath "${tool[last]}")
scratch=$(mktemp -d /tmp/veskra-cli.XXXXXX)
trap 'chmod -R u+w "$scratch"; rm -rf "$scratch"' EXIT
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# fresh: a new work folder holding the worked example's book, novel.txt.
fresh() {
  rm -rf "$scratch/work"
  mkdir "$scratch/work"
  printf 'aaaa\r\nbbbb\r\ncccc' >"$scratch/work/novel.txt"
}
# run ARGS...: runs the tool in the work folder; sets out, err and code.
run() {
  (cd "$scratch/work" && "${tool[@]}" "$@" >"$scratch/out" 2>"$scratch/err" </dev/null)
  code=$?
  out=$(cat -v "$scratch/out")
  err=$(cat -v "$scratch/err")
}
expect_code() { [[ $code == "$1" ]] || fail "$2: exit code $code, wanted $1 (stderr: $err)"; }
expect_out() { [[ $out == "$1" ]] || fail "$2: stdout [$out], wanted [$1]"; }
expect_err() { [[ $err == "$1" ]] || fail "$2: stderr [$err], wanted [$1]"; }
expect_err_start() { [[ $err == "$1"* ]] || fail "$2: stderr [$err], wanted it to begin [$1]"; }
expect_files() {
  local have
  have=$(cd "$scratch/work" && LC_ALL=C ls | tr '\n' ' ')
  [[ $have == "$1" ]] || fail "$2: files [$have], wanted [$1]"
}
expect_bytes() {
  local have want
  have=$(od -An -c "$scratch/work/$1")
  want=$(printf "$2" | od -An -c)
  [[ $have == "$want" ]] || fail "$3: $1 holds [$have], wanted [$want]"
}

# The worked example, with the last piece starting at the last cut.
fresh
run novel.txt 3
expect_code 0 "count 3"
expect_out $'novel1.txt\t4\nnovel2.txt\t6\nnovel3.txt\t6' "count 3"
expect_err "" "count 3"
expect_bytes novel1.txt 'aaaa' "count 3"
expect_bytes novel2.txt '\r\nbbbb' "count 3"
expect_bytes novel3.txt '\r\ncccc' "count 3"

fresh
run novel.txt 03
expect_code 0 "count 03"
expect_out $'novel1.txt\t4\nnovel2.txt\t6\nnovel03.txt\t6' "count 03"

fresh
run novel.txt 20
expect_code 0 "count 20"
want=$'novel1.txt\t4'
for i in $(seq 2 19); do want+=$'\n'"novel$i.txt"$'\t0'; done
want+=$'\nnovel20.txt\t12'
expect_out "$want" "count 20"
expect_bytes novel20.txt '\r\nbbbb\r\ncccc' "count 20"

fresh
run novel.txt 1
expect_out $'novel1.txt\t16' "count 1"

# Counts that parse to 0 or less: usage, exit 2, nothing written.
for count in 0 -3 abc ''; do
  fresh
  run novel.txt "$count"
  expect_code 2 "count [$count]"
  expect_out "" "count [$count]"
  expect_err_start "veskra-split: COUNT must be a whole number of 1 or more, not '$count'
usage: veskra-split BOOK COUNT" "count [$count]"
  expect_files "novel.txt " "count [$count]"
done

# More pieces than bytes past 100000: refused, nothing written.
fresh
run novel.txt 100001
expect_code 2 "count 100001"
expect_err "veskra-split: refusing 100001 pieces: the count is larger than the book's length in bytes, so most pieces would be empty" "count 100001"
expect_files "novel.txt " "count 100001"

# A book that cannot be read: the path and the reason, exit 1, nothing written.
fresh
run missing.txt 3
expect_code 1 "missing book"
if [[ $platform == native ]]; then
  expect_err "veskra-split: cannot read 'missing.txt': No such file or directory" "missing book"
else
  expect_err_start "veskra-split: cannot read 'missing.txt': " "missing book"
  [[ $err != "veskra-split: cannot read 'missing.txt': " ]] || fail "missing book: no reason"
fi
expect_files "novel.txt " "missing book"

fresh
mkdir "$scratch/work/shelf.txt"
run shelf.txt 2
expect_code 1 "folder as book"
expect_err_start "veskra-split: cannot read 'shelf.txt': " "folder as book"
expect_files "novel.txt shelf.txt " "folder as book"

# A piece that cannot be written: the others are written, exit 1.
fresh
mkdir "$scratch/work/novel2.txt"
run novel.txt 3
expect_code 1 "piece over a folder"
expect_out $'novel1.txt\t4\nnovel3.txt\t6' "piece over a folder"
expect_err_start "veskra-split: cannot write 'novel2.txt': " "piece over a folder"
[[ $platform != native ]] ||
  expect_err "veskra-split: cannot write 'novel2.txt': Is a directory" "piece over a folder"
expect_files "novel.txt novel1.txt novel2.txt novel3.txt " "piece over a folder"

# A read-only book splits like any other.
fresh
chmod a-w "$scratch/work/novel.txt"
run novel.txt 2
expect_code 0 "read-only book"
expect_out $'novel1.txt\t10\nnovel2.txt\t6' "read-only book"

# Bytes from the first stop byte on are in no piece.
fresh
printf 'aaaa\r\nbb\x1acc\r\ndd' >"$scratch/work/novel.txt"
run novel.txt 2
expect_out $'novel1.txt\t4\nnovel2.txt\t4' "stop byte"
expect_bytes novel2.txt '\r\nbb' "stop byte"

# A book with a Chinese name: names are GBK byte text.
fresh
if [[ $platform == native ]]; then
  printf 'x\r\ny' >"$scratch/work/$(printf '\xca\xe9').txt"
  run "$(printf '\xca\xe9').txt" 2
else
  # Wine shows GBK names on the Linux side as UTF-8.
  printf 'x\r\ny' >"$scratch/work/书.txt"
  run 书.txt 2
fi
expect_code 0 "Chinese name"
want_out=$(printf '\xca\xe91.txt\t1\n\xca\xe92.txt\t3\n' | od -An -tx1 | tr -d ' \n')
have_out=$(od -An -tx1 "$scratch/out" | tr -d ' \n')
[[ $have_out == "$want_out" ]] || fail "Chinese name: stdout bytes $have_out, wanted $want_out"

# Options and wrong argument counts.
fresh
run --version
expect_code 0 "--version"
expect_out "veskra-split $version" "--version"
run --help
expect_code 0 "--help"
[[ $out == "usage: veskra-split BOOK COUNT"* ]] || fail "--help: stdout [$out]"
expect_err "" "--help"
for args in "" "novel.txt" "novel.txt 2 3"; do
  # shellcheck disable=SC2086
  run $args
  expect_code 2 "arguments [$args]"
  expect_out "" "arguments [$args]"
  expect_err_start "usage: veskra-split BOOK COUNT" "arguments [$args]"
done
expect_files "novel.txt " "wrong arguments"

if ((failures)); then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "veskra-split end-to-end: all checks passed ($platform)"
