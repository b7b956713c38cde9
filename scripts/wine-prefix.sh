#!/usr/bin/env bash
# start PREFIX: makes the private Wine prefix if it is new (headless: the null graphics driver)
#               and starts a persistent wineserver for it.
# stop PREFIX:  stops that wineserver.
set -euo pipefail
action=$1
export WINEPREFIX=$2
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml,winedbg.exe="

case "$action" in
  start)
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      wineboot -i >/dev/null 2>&1
      wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f /reg:64 >/dev/null 2>&1
      wineserver -w
    fi
    # Without the redirections ctest would wait on the server's open pipes for ever. The same goes
    # for Wine's own services, which the first program of a session starts: start them here.
    wineserver -p </dev/null >/dev/null 2>&1
    wine wineboot </dev/null >/dev/null 2>&1
    ;;
  stop)
    wineserver -k </dev/null >/dev/null 2>&1 || true
    ;;
  *)
    echo "usage: $0 start|stop PREFIX" >&2
    exit 2
    ;;
esac
