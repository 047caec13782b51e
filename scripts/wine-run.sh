#!/usr/bin/env bash
# Runs one Windows executable of the build inside the test session that
# scripts/wine-session.sh started (ctest's cross-compiling emulator).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
: "${WINEPREFIX:?WINEPREFIX names the test prefix; run the tests through ctest}"
session="$WINEPREFIX.session"
if [ ! -f "$session" ]; then
  echo "no Wine session for $WINEPREFIX: run the tests through ctest" >&2
  exit 2
fi
. "$session"
export DISPLAY
exec wine "$@"
