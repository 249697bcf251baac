#!/usr/bin/env bash
# Runs a Windows program under wine64 the way the build and the tests need it:
# a prefix of the build's own (never the user's ~/.wine), no wine chatter on
# stderr, and a UTF-8 locale, without which wine cannot pass Chinese arguments.
# Wine maps COM1, COM2, ... to this machine's /dev/ttyS0, ...: a program run
# here must only open COM ports that scripts/windows_test.sh mapped first.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/build-windows/wine}
export WINEDEBUG=${WINEDEBUG:--all}
export LC_ALL=${LUMADOT_WINE_LOCALE:-C.UTF-8}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# Wine leads COM1, COM2, ... to this machine's /dev/ttyS0, ... by itself. A new
# prefix has every one of them led to a path that is not there, so no program
# run in it reaches a real port; a test maps the ones it opens to its own
# pseudo-terminals (scripts/windows_test.sh). Two programs started at once
# (ctest -j) must not both set a new prefix up.
mkdir -p "$WINEPREFIX"
exec 9>"$WINEPREFIX/.lumadot-setup.lock"
flock 9
if [ ! -f "$WINEPREFIX/lumadot-ports.reg" ]; then
  wineboot --init >/dev/null 2>&1 || true
  {
    printf 'REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]\n'
    for n in $(seq 1 32); do printf '"COM%d"="%s/no-port-com%d"\n' "$n" "$WINEPREFIX" "$n"; done
  } >"$WINEPREFIX/lumadot-ports.reg.new"
  wine regedit /S "$WINEPREFIX/lumadot-ports.reg.new" >/dev/null 2>&1
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  mv "$WINEPREFIX/lumadot-ports.reg.new" "$WINEPREFIX/lumadot-ports.reg"
fi
flock -u 9
exec 9>&-
# --session COMMAND...: runs COMMAND (ctest, say) with one wineserver kept up
# throughout. Left to itself, the server quits a few seconds after its last
# program, and a program starting in that moment dies with "recvmsg:
# Connection reset by peer" before it runs a line. --restart-server only
# (re)starts such a server; wineserver -k ends it.
stop_server() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
restart_server() {
  stop_server
  wineserver -p
  # Wine's own services start with the first program and live as long as the
  # server: started here, they hold /dev/null, not the output of a program
  # whose reader would then wait for them to end.
  wine cmd /c exit </dev/null >/dev/null 2>&1
}
case "${1:-}" in
  --restart-server)
    restart_server
    exit 0
    ;;
  --session)
    shift
    restart_server
    status=0
    "$@" || status=$?
    stop_server
    exit "$status"
    ;;
esac
# Debian puts wine64 under /usr/lib/wine; its wine command starts it for 64-bit programs.
exec wine "$@"
