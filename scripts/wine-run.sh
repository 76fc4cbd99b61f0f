#!/usr/bin/env bash
# Runs a Windows program under Wine, in the project's Wine session (started
# on first use). CMake uses it as the emulator for the Windows tests.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/wine-session.sh"
wine_session_start </dev/null >/dev/null 2>&1
exec timeout "${VESKRA_WINE_TIMEOUT:-600}" wine64 "$@"
