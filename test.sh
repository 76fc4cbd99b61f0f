#!/usr/bin/env bash
# Installs what is missing, builds every preset and runs every test: the
# native tests under ASan/UBSan, then the Windows tests under Wine.
set -uo pipefail
cd "$(dirname "$0")"
root=$PWD

./scripts/install-deps.sh || exit 1

build() {
  cmake --preset "$1" >"build/configure-$1.log" 2>&1 || { cat "build/configure-$1.log"; return 1; }
  cmake --build --preset "$1"
}
mkdir -p build
build native || exit 1
build release || exit 1
build windows || exit 1

passed=0
failed=0
# Adds up ctest's "N% tests passed, F tests failed out of T" line.
count() {
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -1)
  if [[ -z $line ]]; then
    failed=$((failed + 1))
    return
  fi
  bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$line")
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

run_ctest() {
  echo "== $1 tests"
  ctest --preset "$1" 2>&1 | tee "build/test-$1.log"
  count "build/test-$1.log"
}

run_ctest native
# The Wine session exports its own locale; the native tests run without it.
source scripts/wine-session.sh
wine_session_start || exit 1
trap wine_session_stop EXIT
run_ctest windows

for suite in scripts/test.d/*.sh; do
  [[ -e $suite ]] || continue
  echo "== $(basename "$suite" .sh)"
  if bash "$suite"; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
done

echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
