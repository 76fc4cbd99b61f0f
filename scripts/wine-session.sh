# Sourced, not run: sets up a Wine session for the Windows tests.
#
#   wine_session_start   virtual display, prefix, registry; exports the env
#   wine_session_stop    ends the Wine server and the display
#
# VESKRA_WINE_DIR (default build/wine) holds the prefix, the display number
# and the log of the recording browser; separate dirs give separate sessions.
# VESKRA_WINE_LOCALE (default zh_CN.UTF-8) picks the ANSI code page: 936 for
# zh_CN, 1252 for en_US or C.UTF-8.

_veskra_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

_wine_env() {
  export VESKRA_WINE_DIR=${VESKRA_WINE_DIR:-$_veskra_root/build/wine}
  mkdir -p "$VESKRA_WINE_DIR"
  export WINEPREFIX=$VESKRA_WINE_DIR/prefix WINEARCH=win64 WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export LANG=${VESKRA_WINE_LOCALE:-zh_CN.UTF-8} LC_ALL=${VESKRA_WINE_LOCALE:-zh_CN.UTF-8}
  export PATH=/usr/lib/wine:$PATH
}

# Starts Xvfb unless this session's display still answers.
_wine_display() {
  local file=$VESKRA_WINE_DIR/display pid
  if [[ -s $file && -s $VESKRA_WINE_DIR/xvfb.pid ]]; then
    pid=$(cat "$VESKRA_WINE_DIR/xvfb.pid")
    if kill -0 "$pid" 2>/dev/null; then
      export DISPLAY=:$(cat "$file")
      return 0
    fi
  fi
  rm -f "$file"
  # Never a fixed display number: another process may own it.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$file" </dev/null >/dev/null 2>&1 &
  echo $! >"$VESKRA_WINE_DIR/xvfb.pid"
  for _ in $(seq 100); do [[ -s $file ]] && break; sleep 0.1; done
  [[ -s $file ]] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=:$(tr -d '\n' <"$file")
}

_wine_prefix() {
  if [[ ! -f $WINEPREFIX/system.reg ]]; then
    timeout 120 wine64 wineboot -i </dev/null >/dev/null 2>&1 || true
    timeout 60 wineserver -w </dev/null >/dev/null 2>&1 || true
  fi
  # Also for a prefix made before the settings could be imported.
  grep -qi 'WineBrowser' "$WINEPREFIX/user.reg" 2>/dev/null && return 0
  cat >"$VESKRA_WINE_DIR/browser.sh" <<EOS
#!/bin/sh
printf '%s\n' "\$1" >>"$VESKRA_WINE_DIR/browser.log"
EOS
  chmod +x "$VESKRA_WINE_DIR/browser.sh"
  # Managed=N: without a window manager every close would otherwise wait 2 s.
  # The browser records the address that a link click opens.
  cat >"$VESKRA_WINE_DIR/settings.reg" <<EOS
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\\Software\\Wine\\WineBrowser]
"Browsers"="$VESKRA_WINE_DIR/browser.sh"
EOS
  # Wine sees the Linux root as drive Z: (there is no winepath here).
  local reg_file="Z:${VESKRA_WINE_DIR//\//\\}\\settings.reg"
  timeout 60 wine64 regedit /S "$reg_file" \
    >/dev/null 2>&1 || true
  timeout 15 wineserver -w </dev/null >/dev/null 2>&1 || true
}

wine_session_start() {
  _wine_env
  _wine_display || return 1
  _wine_prefix
  wineserver -p </dev/null >/dev/null 2>&1 || true  # keep the server warm between test programs
  # Start the session's services now, away from any caller's pipes: a
  # service that inherits a test runner's output would keep it waiting.
  timeout 60 wine64 wineboot </dev/null >/dev/null 2>&1 || true
}

wine_session_stop() {
  _wine_env
  timeout 20 wineserver -k 2>/dev/null || true
  if [[ -s $VESKRA_WINE_DIR/xvfb.pid ]]; then
    kill "$(cat "$VESKRA_WINE_DIR/xvfb.pid")" 2>/dev/null || true
    rm -f "$VESKRA_WINE_DIR/xvfb.pid" "$VESKRA_WINE_DIR/display"
  fi
}
