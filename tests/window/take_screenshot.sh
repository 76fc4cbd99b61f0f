#!/usr/bin/env bash
# Takes docs/screenshot.png: starts the Windows build of the window under
# Wine, waits until it is up, grabs the virtual screen and crops it to the
# window (335 x 165, centred on the 1024 x 768 screen).
# Usage: tests/window/take_screenshot.sh [build-dir]   (default build/windows)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=${1:-$root/build/windows}
source "$root/scripts/wine-session.sh"
wine_session_start
timeout 20 wine64 "$build/src/app/veskra.exe" </dev/null >/dev/null 2>&1 &
program=$!
sleep 3
mkdir -p "$root/docs"
import -window root -crop 335x165+344+301 +repage "$root/docs/screenshot.png"
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
echo "wrote $root/docs/screenshot.png"
