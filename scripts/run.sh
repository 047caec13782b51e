#!/usr/bin/env bash
# Builds what is missing and starts quorvane.exe under Wine, in the project's
# own prefix (build/wine-run) with the GBK code page, on the user's display;
# where there is none, under Xvfb.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. scripts/wine-env.sh
build_tool

export WINEPREFIX="$root/build/wine-run"
log="$WINEPREFIX.log"
mkdir -p "$WINEPREFIX"
: >"$log"

XVFB_PID=
trap end_session EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ]; then
  start_xvfb "$log"
  echo "There is no display: running Quorvane under Xvfb on $DISPLAY (Ctrl+C ends it)."
fi
echo "Starting Quorvane (the first start prepares the Wine prefix, about 20 s)."
boot_prefix "$log"
# In the background, so that Ctrl+C or a signal ends the wait at once; the
# exit trap then ends the tool with the prefix's wineserver.
wine "$root/build/bin/quorvane.exe" </dev/null >>"$log" 2>&1 &
wait $!
