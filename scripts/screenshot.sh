#!/usr/bin/env bash
# Takes a picture of the running main window under its own Xvfb and writes
# it to docs/screenshot.png (or to the file given as $1).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=${1:-docs/screenshot.png}
. scripts/wine-env.sh
build_tool >/dev/null

export WINEPREFIX="$root/build/wine-shot"
log="$WINEPREFIX.log"
mkdir -p "$WINEPREFIX"
: >"$log"
fbdir=$(mktemp -d)
XVFB_PID=
trap 'end_session; rm -rf "$fbdir"' EXIT

unset DISPLAY
XVFB_FBDIR=$fbdir start_xvfb "$log"
boot_prefix "$log" unmanaged
wine "$root/$BUILD_BIN/quorvane.exe" </dev/null >>"$log" 2>&1 &
sleep 4

# The screen is 1024 x 768; the window stands centred on it.
left=$(((1024 - 500) / 2)); top=$(((768 - 372) / 2))
mkdir -p "$(dirname "$out")"
xwdtopnm "$fbdir/Xvfb_screen0" 2>/dev/null \
  | pamcut -left $((left - 8)) -top $((top - 8)) -width 516 -height 388 \
  | pnmtopng >"$out"
echo "wrote $out"
