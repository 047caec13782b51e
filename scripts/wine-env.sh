# Shared by the scripts that run Windows programs under Wine: sourced, not run.
# Every program runs in a prefix of the project's own (never ~/.wine), with
# the GBK code page (LC_ALL=zh_CN.UTF-8 gives ANSI code page 936).

#
# The tests run the 64-bit build in a 64-bit prefix (WINEARCH=win64, the
# default here); WINEARCH=win32 runs a 32-bit build where 32-bit Wine works.
# Debian's /usr/bin/wine takes the 32-bit loader whenever it is installed,
# even on a host that cannot run it, so the loader is chosen here and every
# Wine program goes through it.
export WINEARCH=${WINEARCH:-win64}
export WINEDEBUG=${WINEDEBUG:--all}
export LC_ALL=zh_CN.UTF-8
unset WINESERVER
if [ "$WINEARCH" = win64 ]; then
  export WINELOADER=/usr/lib/wine/wine64
else
  export WINELOADER=/usr/lib/wine/wine
fi
wine() { "$WINELOADER" "$@"; }
wineboot() { "$WINELOADER" wineboot "$@"; }
winepath() { "$WINELOADER" winepath "$@"; }

# Starts Xvfb on a free display and exports DISPLAY; XVFB_PID is its pid.
# Xvfb's output goes to the log file $1, never to a pipe of the caller.
start_xvfb() {
  local log=$1 n
  for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -nocursor ${XVFB_FBDIR:+-fbdir "$XVFB_FBDIR"} \
    </dev/null >>"$log" 2>&1 &
  XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    kill -0 "$XVFB_PID" 2>/dev/null || { echo "Xvfb did not start, see $log" >&2; return 1; }
    sleep 0.1
  done
  export DISPLAY=":$n"
}

# Boots the prefix once (about 20 s the first time), then keeps one wineserver
# up for all later programs. The services that the first program starts
# inherit its output: they must never hold a pipe that somebody reads.
# $2: "unmanaged" makes Wine draw its own window frames, which is what a
# bare Xvfb without a window manager needs (else every destroyed window
# costs 2 s).
boot_prefix() {
  local log=$1 mode=${2:-}
  mkdir -p "$WINEPREFIX"
  if [ ! -f "$WINEPREFIX/.booted" ]; then
    wineboot -i </dev/null >>"$log" 2>&1
    if [ "$mode" = unmanaged ]; then
      wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >>"$log" 2>&1
    fi
    wineserver -w
    touch "$WINEPREFIX/.booted"
  fi
  wineserver -p </dev/null >>"$log" 2>&1
  wineboot </dev/null >>"$log" 2>&1
  # A program that crashes ends at once instead of waiting in winedbg.
  if [ ! -f "$WINEPREFIX/.nodebugger" ]; then
    wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f \
      </dev/null >>"$log" 2>&1 || true
    touch "$WINEPREFIX/.nodebugger"
  fi
}

stop_wine() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

# Ends wineserver and the Xvfb that start_xvfb started, if any.
end_session() {
  stop_wine
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
  fi
}

# The 64-bit build that runs here under Wine: the tool, the tests and the
# test tools (the pdftk bridge among them).
BUILD_BIN=build/win64/bin

# Installs what is missing and builds the 64-bit build; run from the top
# folder. The Chinese locale is for Wine only (it may not exist before the
# setup).
build_tool() (
  unset LC_ALL
  scripts/setup.sh
  [ -f build/win64/CMakeCache.txt ] || cmake --preset win64 >/dev/null
  cmake --build --preset win64
)
