#!/usr/bin/env bash
# Installs what is missing, builds the optimised command-line tool and
# splits the bundled sample book into 3 pieces in a scratch folder.
# Extra arguments go to veskra-split instead: ./run.sh BOOK COUNT
set -euo pipefail
cd "$(dirname "$0")"
./scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
tool=build/release/veskra-split
if (($#)); then
  exec "$tool" "$@"
fi
scratch=$(mktemp -d /tmp/veskra-run.XXXXXX)
cp samples/tang-poems.txt "$scratch/"
"$tool" "$scratch/tang-poems.txt" 3
echo "pieces in $scratch:"
ls -l "$scratch"
