#!/usr/bin/env bash
# Starts and ends the Wine session that the tests run in.
#   wine-session.sh start PREFIX   boot PREFIX, start Xvfb where there is no display
#   wine-session.sh stop PREFIX    end wineserver and the Xvfb started here
# The session's display is kept in PREFIX.session for scripts/wine-run.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"

cmd=${1:?start or stop}
export WINEPREFIX=${2:?prefix folder}
session="$WINEPREFIX.session"
log="$WINEPREFIX.log"

case "$cmd" in
start)
  [ -f "$session" ] && "$0" stop "$WINEPREFIX"
  : >"$log"
  XVFB_PID=
  [ -n "${DISPLAY:-}" ] || start_xvfb "$log"
  printf 'DISPLAY=%q\nXVFB_PID=%q\n' "$DISPLAY" "$XVFB_PID" >"$session"
  boot_prefix "$log" unmanaged
  # Drive Q: is a folder of the tests' own, empty at the start of a session:
  # the tests choose a drive's root folder there. The shell learns the
  # drives when Wine starts, so a new mapping needs one restart.
  drive="$WINEPREFIX-drive-q"
  rm -rf "$drive"
  mkdir -p "$drive"
  if [ "$(readlink "$WINEPREFIX/dosdevices/q:" || true)" != "$drive" ]; then
    ln -sfn "$drive" "$WINEPREFIX/dosdevices/q:"
    stop_wine
    boot_prefix "$log" unmanaged
  fi
  echo "wine session up: prefix $WINEPREFIX, display $DISPLAY"
  ;;
stop)
  XVFB_PID=
  [ -f "$session" ] && . "$session"
  [ -n "${DISPLAY:-}" ] && export DISPLAY
  end_session
  rm -f "$session"
  echo "wine session down"
  ;;
*)
  echo "usage: $0 start|stop PREFIX" >&2
  exit 2
  ;;
esac
