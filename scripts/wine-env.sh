# Sourced by the scripts: a private Wine prefix inside the build folder, an
# Xvfb display of our own when asked, one persistent wineserver.
# Needs $build set. Defines wine_start and wine_stop.

WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
xvfb_pid=""

# Starts Xvfb on the first free display number from 90.
start_xvfb() {
  local n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=":$n"
  for _ in $(seq 1 100); do
    xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  echo "Xvfb did not start on $DISPLAY" >&2
  return 1
}

# Creates the prefix once: fonts with Windows metrics, no window manager, and
# a crash that prints its backtrace instead of waiting in a dialog.
init_prefix() {
  [ -f "$WINEPREFIX/.drevalon-ready-2" ] && return 0
  mkdir -p "$WINEPREFIX"
  "$WINE64" wineboot -i </dev/null >/dev/null 2>&1 || true
  "$WINESERVER" -w
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1
  "$WINE64" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f </dev/null >/dev/null 2>&1
  "$WINESERVER" -w
  touch "$WINEPREFIX/.drevalon-ready-2"
}

# want_own_display: 1 to always use a private Xvfb, 0 to use $DISPLAY when set.
wine_start() {
  local want_own_display=$1
  if [ "$want_own_display" = 1 ] || [ -z "${DISPLAY:-}" ]; then
    start_xvfb
  fi
  init_prefix
  "$WINESERVER" -p
  # A warm-up process with stdio away from our pipes, then a hidden window
  # that keeps the Wine desktop alive between the test processes.
  "$WINE64" cmd /c exit </dev/null >/dev/null 2>&1 || true
  if [ -f "$build/bin/winekeepalive.exe" ]; then
    "$WINE64" "$build/bin/winekeepalive.exe" </dev/null >/dev/null 2>&1 &
    # Wait for the desktop process it starts, so no test process starts it
    # with ctest's pipes as its stdio.
    for _ in $(seq 1 100); do
      for pid in $(pgrep -f 'explorer.exe /desktop'); do
        grep -qz "^WINEPREFIX=$WINEPREFIX\$" "/proc/$pid/environ" 2>/dev/null && break 2
      done
      sleep 0.05
    done
  fi
}

wine_stop() {
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w 2>/dev/null || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
