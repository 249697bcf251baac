#!/usr/bin/env bash
# Runs a Windows program under wine64 the way the build and the tests need it:
# a prefix of the project's own, no wine chatter on stderr, and a UTF-8 locale,
# without which wine cannot pass Chinese arguments.
#
#   scripts/wine_run.sh PROGRAM [ARG...]
#   scripts/wine_run.sh --session COMMAND...    COMMAND with one wineserver up throughout
#   scripts/wine_run.sh --restart-server | --stop-server
#   scripts/wine_run.sh --map-port N DEVICE...  COMN to DEVICE, a pseudo-terminal named in
#                                               LUMADOT_WINE_PTYS, or back nowhere with -
#   scripts/wine_run.sh --check-ports           the check every run makes, alone
#   scripts/wine_run.sh --dll-path DIR:DIR PROGRAM [ARG...]
#                                               PROGRAM finding DLLs in those folders too
#
# The prefix is LUMADOT_WINE_PREFIX, or build-windows/wine. WINEPREFIX is not
# read: a user's own prefix, or ~/.wine, is never used or changed.
#
# Wine leads COM ports to this machine's /dev/ttyS*, /dev/ttyUSB* and
# /dev/ttyACM* by itself: it gives each device it finds the lowest COM number
# HKLM\Software\Wine\Ports does not name, and makes dosdevices/comN lead there
# when its server starts. So a prefix of ours names COM1 to COM255 (all the
# registry may name) from the start, each leading to /dev/null/comN, a path that
# cannot exist, and holds com256 (the one number left) with a folder, where wine
# cannot make its link. Before any program runs, the registry and every
# dosdevices/com* are checked to lead nowhere or to a pseudo-terminal of the
# caller's, and nothing runs when one does not.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
prefix=$(realpath -m "${LUMADOT_WINE_PREFIX:-$here/build-windows/wine}")
export WINEPREFIX=$prefix
export WINEDEBUG=${WINEDEBUG:--all}
export LC_ALL=${LUMADOT_WINE_LOCALE:-C.UTF-8}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
readonly last_port=255 marker=.lumadot-prefix making=.lumadot-making

refuse() {
  echo "wine_run.sh: $*" >&2
  exit 1
}

nowhere() { echo "/dev/null/com$1"; }

# A path that is not there, or a pseudo-terminal the caller made and named.
safe_target() {
  local target=$1 own
  [[ $target == /* ]] || target=$prefix/dosdevices/$target
  [ -e "$target" ] || return 0
  for own in ${LUMADOT_WINE_PTYS:-}; do
    [[ $own == /dev/pts/* && -c $own && $target == "$own" ]] && return 0
  done
  return 1
}

# What the registry on disk names, NAME<TAB>DEVICE a line: wine makes its links from it when its server starts.
registry_ports() {
  sed -n '/^\[Software\\\\Wine\\\\Ports\]/,/^$/ s/^"\([^"]*\)"="\(.*\)"$/\1\t\2/p' "$prefix/system.reg"
}

check_ports() {
  local problems=() name kind target n
  local -A named=()
  while IFS=$'\t' read -r name target; do named[${name^^}]=$target; done < <(registry_ports)
  for ((n = 1; n <= last_port; n++)); do
    if [ -z "${named[COM$n]+set}" ]; then
      problems+=("the registry does not name COM$n, so wine may give it a device it finds")
    elif ! safe_target "${named[COM$n]}"; then
      problems+=("the registry leads COM$n to ${named[COM$n]}")
    fi
  done
  [ -d "$prefix/dosdevices/com256" ] && [ ! -L "$prefix/dosdevices/com256" ] ||
    problems+=("dosdevices/com256 is no folder, so wine may lead it to a device it finds")
  while IFS=$'\t' read -r name kind target; do
    [ "$name" = com256 ] && [ "$kind" = d ] && continue
    if [ "$kind" != l ]; then
      problems+=("dosdevices/$name is no link")
    elif ! safe_target "$target"; then
      problems+=("dosdevices/$name leads to $target")
    fi
  done < <(find "$prefix/dosdevices" -mindepth 1 -maxdepth 1 -iname 'com*' -printf '%f\t%y\t%l\n')
  if [ ${#problems[@]} -gt 0 ]; then
    echo "wine_run.sh: a COM port of $prefix may reach a device that is no pseudo-terminal of ours; not running:" >&2
    printf '  %s\n' "${problems[@]:0:8}" >&2
    [ ${#problems[@]} -le 8 ] || echo "  and $((${#problems[@]} - 8)) more" >&2
    exit 1
  fi
}

stop_server() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

# The registry is written before wine first starts here, so no moment passes
# with a COM port leading to a device. Wine makes the prefix's other folders
# and links only when dosdevices is not there yet: these are made here.
make_prefix() {
  touch "$prefix/$making"
  find "$prefix" -mindepth 1 -maxdepth 1 ! -name .lumadot-setup.lock ! -name "$making" -exec rm -rf {} +
  mkdir -p "$prefix/drive_c" "$prefix/dosdevices/com256"
  ln -s ../drive_c "$prefix/dosdevices/c:"
  ln -s / "$prefix/dosdevices/z:"
  {
    printf 'WINE REGISTRY Version 2\n;; All keys relative to \\\\Machine\n\n#arch=win64\n\n'
    printf '[Software\\\\Wine\\\\Ports]\n'
    for ((n = 1; n <= last_port; n++)); do printf '"COM%d"="%s"\n' "$n" "$(nowhere "$n")"; done
    printf '\n'
  } >"$prefix/system.reg"
  check_ports
  wineboot --init >/dev/null 2>&1 || true
  stop_server
  echo "lumadot wine prefix: COM1-COM$last_port lead nowhere" >"$prefix/$marker"
  rm -f "$prefix/$making"
}

[ "$prefix" != "$(realpath -m "${HOME:-}/.wine")" ] || refuse "$prefix is the user's own wine prefix; not using it"
mkdir -p "$prefix"
# Two programs started at once (ctest -j) must not both set a new prefix up.
exec 9>"$prefix/.lumadot-setup.lock"
flock 9
if [ ! -f "$prefix/$marker" ]; then
  # Made over only when empty, or ours: half made, or marked by an earlier
  # version of this script (lumadot-ports.reg), whose prefixes led COM33 on.
  if [ -n "$(find "$prefix" -mindepth 1 -maxdepth 1 ! -name .lumadot-setup.lock -print -quit)" ] &&
     [ ! -f "$prefix/$making" ] && [ ! -f "$prefix/lumadot-ports.reg" ]; then
    refuse "$prefix holds files this project did not put there; not using it as a wine prefix"
  fi
  make_prefix
fi
flock -u 9
exec 9>&-

# --session COMMAND...: runs COMMAND (ctest, say) with one wineserver kept up
# throughout. Left to itself, the server quits a few seconds after its last
# program, and a program starting in that moment dies with "recvmsg:
# Connection reset by peer" before it runs a line. --restart-server only
# (re)starts such a server; --stop-server ends it.
restart_server() {
  stop_server
  check_ports
  wineserver -p
  # Wine's own services start with the first program and live as long as the
  # server: started here, they hold /dev/null, not the output of a program
  # whose reader would then wait for them to end. The COM links are made now.
  wine cmd /c exit </dev/null >/dev/null 2>&1
  check_ports
}
case "${1:-}" in
  --dll-path)
    # Folders of DLLs the program may load from where they were built (a test's Qt and
    # runtime); the programs we ship find theirs beside them, deployed, and take none.
    folders=${2:?--dll-path takes folders joined with :}
    shift 2
    WINEPATH=$(tr : '\n' <<<"$folders" | sed 's|^|Z:|; s|/|\\|g' | paste -sd';')
    export WINEPATH
    check_ports
    exec wine "$@"
    ;;
  --restart-server)
    restart_server
    exit 0
    ;;
  --stop-server)
    stop_server
    exit 0
    ;;
  --check-ports)
    check_ports
    exit 0
    ;;
  --map-port)
    shift
    [ $# -gt 0 ] && [ $(($# % 2)) = 0 ] || refuse "--map-port takes pairs of a port number and a device"
    check_ports
    ports=() devices=()
    while [ $# -gt 0 ]; do
      [[ $1 =~ ^[1-9][0-9]*$ ]] && (($1 <= last_port)) || refuse "--map-port takes ports 1 to $last_port, not '$1'"
      device=$2
      [ "$device" != - ] || device=$(nowhere "$1")
      safe_target "$device" ||
        refuse "COM$1 may lead only nowhere (-) or to a pseudo-terminal named in LUMADOT_WINE_PTYS, not to $device"
      ports+=("COM$1") devices+=("$device")
      shift 2
    done
    # Wine reads them when its server next starts.
    for i in "${!ports[@]}"; do
      wine reg add 'HKLM\Software\Wine\Ports' /v "${ports[$i]}" /t REG_SZ /d "${devices[$i]}" /f >/dev/null
    done
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
check_ports
# Debian puts wine64 under /usr/lib/wine; its wine command starts it for 64-bit programs.
exec wine "$@"
