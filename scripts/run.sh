#!/usr/bin/env bash
# Builds what is missing and runs Quorvane under Wine, in the project's own
# prefix (build/wine-run) with the GBK code page, from build/run, where the
# pdftk bridge stands as pdftk.exe so that merging works for real.
#   With a display: opens the tool for you.
#   Without one: a short scripted session under Xvfb merges a sample tree
#   of real PDF files and prints the rows, the merged files and their page
#   counts, and where the picture of the window was saved.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
. scripts/wine-env.sh
build_tool

run_dir="$root/build/run"
mkdir -p "$run_dir"
cp "$BUILD_BIN/quorvane.exe" "$run_dir/quorvane.exe"
cp "$BUILD_BIN/pdftk_bridge.exe" "$run_dir/pdftk.exe"

export WINEPREFIX="$root/build/wine-run"
log="$WINEPREFIX.log"
mkdir -p "$WINEPREFIX"
: >"$log"

XVFB_PID=
trap end_session EXIT
trap 'exit 130' INT TERM

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting Quorvane from $run_dir (the first start prepares the Wine prefix, about 20 s)."
  boot_prefix "$log"
  # In the background, so that Ctrl+C or a signal ends the wait at once; the
  # exit trap then ends the tool with the prefix's wineserver.
  wine "$run_dir/quorvane.exe" </dev/null >>"$log" 2>&1 &
  wait $!
  exit 0
fi

echo "There is no display: a scripted session under Xvfb merges a sample tree (the first start prepares the Wine prefix, about 20 s)."
start_xvfb "$log"
boot_prefix "$log" unmanaged
sample="$root/build/sample"
picture="$root/build/run-session"
wine "$root/$BUILD_BIN/demo_session.exe" "$(winepath -w "$run_dir")" "$(winepath -w "$sample")" \
  "$(winepath -w "$picture.bmp")" </dev/null 2>>"$log" &
wait $! || { echo "the scripted session failed, see $log" >&2; exit 1; }
bmptopnm "$picture.bmp" 2>/dev/null | pnmtopng >"$picture.png" 2>/dev/null
rm -f "$picture.bmp"
echo "Picture of the window at the end: $picture.png"
