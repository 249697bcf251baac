#!/usr/bin/env bash
# Runs the Win32 serial check under wine: COM1 and COM2 are the two ends of
# a socat pair of pseudo-terminals, COM9 a device that is not there.
#
#   scripts/wine_serial_check.sh BUILD/tests/bin/win32_serial_check.exe [gtest options...]
#
# Wine leads every COM port it is not told about to a real /dev/ttyS*, so
# each one the check opens is mapped here, and the check refuses to run
# unless wine shows it leading where it was told.
# WINEPREFIX defaults to a prefix of the check's own under /tmp.
set -euo pipefail

target=${1:?usage: $0 EXE [gtest options...]}
shift
export WINEPREFIX=${WINEPREFIX:-/tmp/lumadot-wine-serial}
export WINEDEBUG=-all LC_ALL=C.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
work=${LUMADOT_WINE_WORK:-/tmp/lumadot-wine-serial-work}
mkdir -p "$work"

exe=$target
[[ -f $exe ]] || { echo "$exe: no such program (cmake --build the Windows build first)" >&2; exit 2; }

socat_pid=
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  if [[ -n $socat_pid ]]; then kill "$socat_pid" 2>/dev/null || true; fi
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
missing=/dev/pts/999
while [[ -e $missing ]]; do missing=/dev/pts/$(( ${missing##*/} + 1 )); done

[[ -f $WINEPREFIX/system.reg ]] || wineboot -i >/dev/null 2>&1
declare -A ports=([COM1]=${ends[0]} [COM2]=${ends[1]} [COM9]=$missing)
for com in "${!ports[@]}"; do
  wine reg add 'HKLM\Software\Wine\Ports' /v "$com" /t REG_SZ /d "${ports[$com]}" /f >/dev/null
done
wineserver -k >/dev/null 2>&1 || true
# Starting wine makes its device links from the mapping; none of them is opened here.
wine reg query 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM'
for com in "${!ports[@]}"; do
  link=$(readlink "$WINEPREFIX/dosdevices/${com,,}" || true)
  [[ $link == "${ports[$com]}" ]] || { echo "$com leads to '$link', not ${ports[$com]}: not running" >&2; exit 1; }
done
# Settings wine gave the terminals in an earlier run would otherwise stay.
for end in "${ends[@]}"; do stty -F "$end" 38400 -inpck; done

echo "COM1=${ends[0]} COM2=${ends[1]} COM9=$missing"
LUMADOT_CHECK_LINE=COM1,COM2 LUMADOT_CHECK_MISSING=COM9 wine "$exe" "$@"
