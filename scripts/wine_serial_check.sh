#!/usr/bin/env bash
# Runs the Win32 serial check under wine: COM1 and COM2 are the two ends of
# a socat pair of pseudo-terminals, COM9 leads nowhere.
#
#   scripts/wine_serial_check.sh BUILD/tests/bin/win32_serial_check.exe [gtest options...]
#
# The ports are mapped through scripts/wine_run.sh, which runs nothing while
# a COM port of the prefix could reach any device but these terminals. The
# prefix is LUMADOT_WINE_PREFIX, whose three ports are led back nowhere
# afterwards, or else one of the check's own, made here and removed.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
wine_run=$here/scripts/wine_run.sh

target=${1:?usage: $0 EXE [gtest options...]}
shift
exe=$target
[[ -f $exe ]] || { echo "$exe: no such program (cmake --build the Windows build first)" >&2; exit 2; }

work=$(mktemp -d /tmp/lumadot-wine-serial.XXXXXX)
own_prefix=false
if [[ -z ${LUMADOT_WINE_PREFIX:-} ]]; then
  export LUMADOT_WINE_PREFIX=$work/wine
  own_prefix=true
fi

socat_pid=
# The server goes first: it holds the terminals, and their hanging up would make it dump its state.
cleanup() {
  "$wine_run" --stop-server || true
  if [[ -n $socat_pid ]]; then kill "$socat_pid" 2>/dev/null || true; fi
  if ! $own_prefix; then
    "$wine_run" --map-port 1 - 2 - 9 - || true
    "$wine_run" --stop-server || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

socat -d -d pty,raw,echo=0 pty,raw,echo=0 2>"$work/socat.log" &
socat_pid=$!
for _ in $(seq 50); do
  [[ $(grep -c 'PTY is' "$work/socat.log" || true) -ge 2 ]] && break
  sleep 0.1
done
mapfile -t ends < <(sed -n 's/.*PTY is \(\/dev\/pts\/[0-9]*\).*/\1/p' "$work/socat.log")
[[ ${#ends[@]} -eq 2 ]] || { echo "socat gave no pair of pseudo-terminals" >&2; cat "$work/socat.log" >&2; exit 1; }
export LUMADOT_WINE_PTYS="${LUMADOT_WINE_PTYS:-} ${ends[*]}"

"$wine_run" --map-port 1 "${ends[0]}" 2 "${ends[1]}" 9 -
# The server makes the links from the registry as it starts, and wine_run.sh checks them.
"$wine_run" --restart-server
declare -A ports=([com1]=${ends[0]} [com2]=${ends[1]})
for com in "${!ports[@]}"; do
  link=$(readlink "$LUMADOT_WINE_PREFIX/dosdevices/$com" || true)
  [[ $link == "${ports[$com]}" ]] || { echo "$com leads to '$link', not ${ports[$com]}: not running" >&2; exit 1; }
done
# Settings wine gave the terminals in an earlier run would otherwise stay.
for end in "${ends[@]}"; do stty -F "$end" 38400 -inpck; done

echo "COM1=${ends[0]} COM2=${ends[1]} COM9 nowhere"
LUMADOT_CHECK_LINE=COM1,COM2 LUMADOT_CHECK_MISSING=COM9 "$wine_run" "$exe" "$@"
