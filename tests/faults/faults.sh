#!/usr/bin/env bash
# Fault tests of veskra-split, run with the real tool:
#   faults.sh TOOL CASE
# Each case makes one fault happen and checks that it is reported, that no
# byte is lost and that nothing is written outside the book's folder.
# Exit 0 = pass, 1 = fail, 77 = skipped (the reason is printed).
set -uo pipefail

tool="$(realpath "$1")"
case_name="$2"

work="$(mktemp -d "${TMPDIR:-/tmp}/veskra-faults.XXXXXX")"
chmod 755 "$work"
mounted=""
cleanup() {
  [ -n "$mounted" ] && umount "$mounted" 2>/dev/null
  chmod -R u+w "$work" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL ($case_name): $*" >&2
  [ -f "$work/out" ] && { echo "--- stdout" >&2; cat "$work/out" >&2; }
  [ -f "$work/err" ] && { echo "--- stderr" >&2; cat "$work/err" >&2; }
  exit 1
}
skip() {
  echo "SKIP ($case_name): $*"
  exit 77
}

# run EXPECTED_CODE ARGS...: runs the tool, keeps its output in out/err.
run() {
  local expected="$1"
  shift
  "$tool" "$@" >"$work/out" 2>"$work/err"
  local code=$?
  [ "$code" -eq "$expected" ] || fail "exit code $code, expected $expected for: $*"
}
run_as_nobody() {
  local expected="$1"
  shift
  setpriv --reuid=65534 --regid=65534 --clear-groups "$tool" "$@" >"$work/out" 2>"$work/err"
  local code=$?
  [ "$code" -eq "$expected" ] || fail "exit code $code as nobody, expected $expected"
}

# expect_bytes FILE PRINTF-FORMAT: the file holds exactly these bytes.
expect_bytes() {
  [ -f "$1" ] || fail "missing file $1"
  printf "$2" >"$work/expected"
  cmp -s "$1" "$work/expected" || fail "wrong bytes in $1: $(od -c "$1" | head -5)"
}
# The names, sizes and contents of everything under a folder.
snapshot() {
  (cd "$1" && find . -printf '%p %y %s %m\n' | LC_ALL=C sort &&
    find . -type f -print0 | LC_ALL=C sort -z | xargs -0 -r md5sum)
}
expect_listing() {
  local dir="$1"
  shift
  local got want
  got="$(cd "$dir" && find . -mindepth 1 -printf '%P\n' | LC_ALL=C sort)"
  want="$(printf '%s\n' "$@" | LC_ALL=C sort)"
  [ "$got" = "$want" ] || fail "folder $dir holds [$got], expected [$want]"
}
expect_in_err() {
  grep -qF -- "$1" "$work/err" || fail "stderr does not hold: $1"
}
# expect_out PRINTF-FORMAT [ARGS...]: stdout is exactly these bytes (one line
# per piece written: its path, a tab and its size).
expect_out() {
  printf "$@" >"$work/expected"
  cmp -s "$work/out" "$work/expected" || fail "stdout differs from: $(cat "$work/expected")"
}
expect_no_output() {
  [ ! -s "$work/out" ] || fail "stdout should be empty"
}

# A book of N lines "line NNNNNN" + CR LF (13 bytes a line).
make_book() {
  awk -v n="$2" 'BEGIN { for (i = 1; i <= n; i++) printf "line %06d\r\n", i }' >"$1"
}

case "$case_name" in
  full_disk)
    # Without root, a private mount namespace of the user's own still allows
    # a tmpfs; the case then runs again inside it.
    if [ "$(id -u)" -ne 0 ] && [ -z "${VESKRA_FAULTS_IN_NAMESPACE:-}" ] &&
      unshare --map-root-user --mount true 2>/dev/null; then
      rm -rf "$work"
      VESKRA_FAULTS_IN_NAMESPACE=1 exec unshare --map-root-user --mount bash "$0" "$tool" full_disk
    fi
    dir="$work/disk"
    mkdir "$dir"
    if ! mount -t tmpfs -o size=1m tmpfs "$dir" 2>"$work/mount-err"; then
      skip "cannot mount a 1 MiB tmpfs here: $(cat "$work/mount-err")"
    fi
    mounted="$dir"
    # 600 000 bytes: the first half fits beside it, the second does not.
    make_book "$dir/book.txt" 46154
    printf 'old piece two\r\n' >"$dir/book2.txt"
    run 1 "$dir/book.txt" 2
    expect_in_err "$dir/book2.txt"
    expect_in_err "No space left on device"
    expect_bytes "$dir/book2.txt" 'old piece two\r\n'
    # The first cut: the first line break at or after byte 600002 / 2.
    head -c 300012 "$dir/book.txt" >"$work/first-half"
    cmp -s "$dir/book1.txt" "$work/first-half" || fail "book1.txt is not the first half"
    expect_out '%s\t300012\n' "$dir/book1.txt"
    expect_listing "$dir" book.txt book1.txt book2.txt
    ;;

  unwritable_folder)
    dir="$work/books"
    mkdir "$dir"
    printf 'one\r\ntwo\r\nthree\r\n' >"$dir/book.txt"
    printf 'old\r\n' >"$dir/book1.txt"
    chmod 644 "$dir/book.txt" "$dir/book1.txt"
    # Root writes anywhere, so root runs the tool as nobody on a folder of
    # root's; anyone else takes the write permission from their own folder.
    if [ "$(id -u)" -eq 0 ]; then
      command -v setpriv >/dev/null || skip "setpriv is not installed"
      chmod 755 "$dir"
    else
      chmod 555 "$dir"
    fi
    before="$(snapshot "$dir")"
    if [ "$(id -u)" -eq 0 ]; then
      run_as_nobody 1 "$dir/book.txt" 2
    else
      run 1 "$dir/book.txt" 2
    fi
    expect_in_err "$dir/book1.txt"
    expect_in_err "$dir/book2.txt"
    expect_in_err "Permission denied"
    expect_no_output
    [ "$(snapshot "$dir")" = "$before" ] || fail "the folder changed"
    ;;

  book_changes)
    dir="$work/books"
    mkdir "$dir"
    printf 'first\r\nsecond\r\nthird\r\nfourth\r\n' >"$dir/book.txt"
    run 0 "$dir/book.txt" 2
    expect_out '%s\t20\n%s\t10\n' "$dir/book1.txt" "$dir/book2.txt"
    expect_bytes "$dir/book1.txt" 'first\r\nsecond\r\nthird'
    expect_bytes "$dir/book2.txt" '\r\nfourth\r\n'
    # A shorter book with other text: no byte of the old pieces may stay.
    printf 'ab\r\ncd\r\n' >"$dir/book.txt"
    run 0 "$dir/book.txt" 2
    expect_out '%s\t6\n%s\t2\n' "$dir/book1.txt" "$dir/book2.txt"
    expect_bytes "$dir/book1.txt" 'ab\r\ncd'
    expect_bytes "$dir/book2.txt" '\r\n'
    # Rewritten in place, same length, other bytes.
    printf 'xy\r\nzw\r\n' >"$dir/book.txt"
    run 0 "$dir/book.txt" 2
    expect_out '%s\t6\n%s\t2\n' "$dir/book1.txt" "$dir/book2.txt"
    expect_bytes "$dir/book1.txt" 'xy\r\nzw'
    expect_bytes "$dir/book2.txt" '\r\n'
    expect_listing "$dir" book.txt book1.txt book2.txt
    ;;

  huge_count)
    dir="$work/books"
    mkdir "$dir"
    printf 'ab\r\ncd\r\nef\r\ngh\r\n' >"$dir/book.txt"
    before="$(snapshot "$dir")"
    # Counts past 32 bits wrap: 2^31 reads as a negative count, 2^32 as 0.
    for count in 2147483647 100001 ' 2147483647' '+100001' 2147483648 4294967296 '\xA3\xB2\xA3\xB1\xA3\xB4\xA3\xB7\xA3\xB4\xA3\xB8\xA3\xB3\xA3\xB6\xA3\xB4\xA3\xB7'; do
      # The last one is 2147483647 in full-width digits.
      run 2 "$dir/book.txt" "$(printf "$count")"
      expect_no_output
      [ -s "$work/err" ] || fail "no message for count $count"
      [ "$(snapshot "$dir")" = "$before" ] || fail "count $count wrote something"
    done
    # Counts that are not refused still split: 20 pieces of a 16-byte book,
    # the first up to the first line break, 18 empty, the last the rest.
    run 0 "$dir/book.txt" 20
    expect_bytes "$dir/book1.txt" 'ab'
    for i in $(seq 2 19); do expect_bytes "$dir/book$i.txt" ''; done
    expect_bytes "$dir/book20.txt" '\r\ncd\r\nef\r\ngh\r\n'
    {
      printf '%s\t2\n' "$dir/book1.txt"
      for i in $(seq 2 19); do printf '%s\t0\n' "$dir/book$i.txt"; done
      printf '%s\t14\n' "$dir/book20.txt"
    } >"$work/expected"
    cmp -s "$work/out" "$work/expected" || fail "stdout does not list the 20 pieces"
    ;;

  count_with_path_characters)
    parent="$work/parent"
    dir="$parent/books"
    mkdir -p "$dir"
    printf 'aa\r\nbb\r\ncc\r\n' >"$dir/book.txt"
    # count text @ middle of the last piece's name
    while IFS='@' read -r count last; do
      rm -f "$dir"/book?*.txt
      run 0 "$dir/book.txt" "$(printf "$count")"
      last="$(printf "$last")"
      expect_out '%s\t6\n%s\t6\n' "$dir/book1.txt" "$dir/book$last.txt"
      expect_bytes "$dir/book1.txt" 'aa\r\nbb'
      expect_bytes "$dir/book$last.txt" '\r\ncc\r\n'
      expect_listing "$parent" books books/book.txt books/book1.txt "books/book$last.txt"
    done <<'TABLE'
2/../../evil@2
2\\..\\evil@2
2:*?"<>|@2
 2\001@2
\t2\r\n@2
2/@2
2\260\\@2\260\\
\243\262@\243\262
4294967298@4294967298
TABLE
    ;;

  four_byte_path)
    dir="$work/books"
    mkdir "$dir"
    cd "$dir" || fail "cannot enter $dir"
    # path | piece names (base name empty for 4 bytes or fewer)
    for path in b.tx book abc; do
      rm -f ./*
      printf 'aa\r\nbb\r\n' >"$path"
      run 0 "$path" 2
      expect_out '1.txt\t6\n2.txt\t2\n'
      expect_bytes 1.txt 'aa\r\nbb'
      expect_bytes 2.txt '\r\n'
      expect_listing "$dir" "$path" 1.txt 2.txt
    done
    ;;

  long_path)
    dir="$work/books"
    mkdir "$dir"
    # A path longer than the system allows: no book, no piece.
    long="$dir/$(printf 'a/%.0s' $(seq 1 3000))book.txt"
    run 1 "$long" 2
    expect_in_err "File name too long"
    expect_no_output
    # A book whose name fits, but whose pieces' names are a byte too long.
    name="$(printf 'n%.0s' $(seq 1 251)).txt"
    printf 'aa\r\nbb\r\n' >"$dir/$name"
    before="$(snapshot "$dir")"
    run 1 "$dir/$name" 2
    expect_in_err "$dir/${name%.txt}1.txt"
    expect_in_err "$dir/${name%.txt}2.txt"
    expect_in_err "File name too long"
    expect_no_output
    [ "$(snapshot "$dir")" = "$before" ] || fail "the folder changed"
    ;;

  *)
    echo "unknown case: $case_name" >&2
    exit 2
    ;;
esac
echo "PASS ($case_name)"
