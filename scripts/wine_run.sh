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
if [ ! -d "$WINEPREFIX" ]; then
  mkdir -p "$WINEPREFIX"
  wineboot --init >/dev/null 2>&1 || true
fi
# Debian puts wine64 under /usr/lib/wine; its wine command starts it for 64-bit programs.
exec wine "$@"
