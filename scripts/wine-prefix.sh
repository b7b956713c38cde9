#!/usr/bin/env bash
# start PREFIX [--x86]: makes the private Wine prefix if it is new and starts a persistent
#                       wineserver for it; headless (the null graphics driver) and silent (no
#                       audio driver: the sandbox notes the add-ins' sounds itself).
# stop PREFIX [--x86]:  stops that wineserver.
# With --x86 (the 32-bit tests' fixtures) both exit 77, skipped, where this machine cannot run
# 32-bit programs.
set -euo pipefail
here=$(dirname "$0")
action=$1
export WINEPREFIX=$2
if [ "${3:-}" = --x86 ] && reason=$("$here/wine" --why-no-x86); then
  echo "skipped: $reason"
  exit 77
fi
wine() { "$here/wine" "$@"; }

case "$action" in
  start)
    if [ ! -f "$WINEPREFIX/system.reg" ] || ! grep -qs '^"Audio"=""' "$WINEPREFIX/user.reg"; then
      [ -f "$WINEPREFIX/system.reg" ] || wine wineboot -i >/dev/null 2>&1
      # Wine reads its drivers when its services start: set them before that, on a new prefix and
      # on one made before either setting; then let that first server finish writing.
      wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f /reg:64 >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d '' /f /reg:64 >/dev/null 2>&1
      wine --server -w
    fi
    # Without the redirections ctest would wait on the server's open pipes for ever. The same goes
    # for Wine's own services, which the first program of a session starts: start them here. A
    # server already running (a second start) is the one wanted.
    wine --server -p </dev/null >/dev/null 2>&1 || true
    wine wineboot </dev/null >/dev/null 2>&1
    ;;
  stop)
    wine --server -k </dev/null >/dev/null 2>&1 || true
    ;;
  *)
    echo "usage: $0 start|stop PREFIX [--x86]" >&2
    exit 2
    ;;
esac
