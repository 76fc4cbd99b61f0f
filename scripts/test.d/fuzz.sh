#!/usr/bin/env bash
# The short fuzz run of CI: each core target for 30 seconds.
set -euo pipefail
cd "$(dirname "$0")/../.."
exec scripts/fuzz.sh "${VESKRA_FUZZ_SECONDS:-30}"
