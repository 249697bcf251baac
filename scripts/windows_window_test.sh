#!/usr/bin/env bash
# The three windows under wine, driven as a user drives them, against the
# Linux build's windows on the same virtual display:
#   scripts/windows_window_test.sh LINUX_BIN WINDOWS_BIN
# The main window's result for 中A (pasted, Enter) must be the Linux window's
# byte for byte; each window must draw its Chinese captions as glyphs, and the
# workbench its lit dots; the main window's "取模并发送" through wine's COM1
# must send --frame-out's bytes; and the sign window on wine's COM2 must show
# the panel the Linux sign window shows for the same frame. Screenshots go to
# LUMADOT_WINDOW_SHOTS (default build-windows/window-shots).
#
# Wine runs in a mount namespace whose /dev holds no serial device
# (scripts/no_serial_devices.sh), in a prefix of this run's own whose COM
# ports lead nowhere but to the pseudo-terminals made here. Chinese text goes
# in through the clipboard: xdotool's typing repeats the first character in a
# wine window.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
linux=$(realpath "${1:?usage: windows_window_test.sh LINUX_BIN WINDOWS_BIN}")
windows=$(realpath "${2:?usage: windows_window_test.sh LINUX_BIN WINDOWS_BIN}")
shots=$(realpath -m "${LUMADOT_WINDOW_SHOTS:-$here/build-windows/window-shots}")
[ "$(findmnt -n -o SOURCE /dev | tail -n 1)" = lumadot-dev ] || exec "$here/scripts/no_serial_devices.sh" "$0" "$@"

wine_run=$here/scripts/wine_run.sh
screen_check=$here/scripts/screen_check.py
export LC_ALL=C.UTF-8 TZ=UTC
for name in $(compgen -e | grep '^LUMADOT_' || true); do unset "$name"; done
started=$(date +%s)
work=$(mktemp -d /tmp/lumadot-window-test.XXXXXX)
export LUMADOT_WINE_PREFIX=$work/wine LUMADOT_WINE_PTYS=
# Each Linux window starts as on a first run, and the sanitizers' leak report of Qt's own is no finding here.
export XDG_CONFIG_HOME=$work/config ASAN_OPTIONS=detect_leaks=0
pids=()
app=
cleanup() {
  [ -z "$app" ] || kill "$app" 2>/dev/null
  "$wine_run" --stop-server 2>/dev/null
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[$i]}" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
# shellcheck source=scripts/checks.sh
source "$here/scripts/checks.sh"
mkdir -p "$shots"

# The windows run as shipped, with the DLLs make windows deployed beside them and no others.
[ -f "$windows/Qt6Core.dll" ] || { echo "FAIL: no Qt DLLs beside the programs in $windows: make windows deploys them"; exit 1; }

# What a Windows program pasting would get: wine gives X the clipboard's text without its CRs.
x86_64-w64-mingw32-gcc-posix -O2 -o "$work/clipboard_text.exe" "$here/scripts/clipboard_text.c" ||
  { echo "FAIL: scripts/clipboard_text.c did not build"; exit 1; }

echo "== a display and a wine prefix of this run's own"
# shellcheck source=scripts/xvfb_session.sh
source "$here/scripts/xvfb_session.sh"
xvfb_start 1280x800 2>/dev/null; up=$?
pids+=("$xvfb")
[ "$up" = 0 ] || { echo "FAIL: Xvfb did not start"; exit 1; }
window_manager_start
pids+=("$wm")

"$wine_run" --restart-server
# A new prefix has no Tahoma, so "MS Shell Dlg" would fall to a thin serif: DejaVu Sans
# draws the Latin, and a Chinese font in the prefix's own folder the rest, whatever fontconfig
# offers wine besides.
cp /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf \
  /usr/share/fonts/truetype/wqy/wqy-zenhei.ttc /usr/share/fonts/truetype/arphic/uming.ttc \
  "$LUMADOT_WINE_PREFIX/drive_c/windows/Fonts/"
for face in "MS Shell Dlg" "MS Shell Dlg 2" Tahoma; do
  "$wine_run" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    /v "$face" /t REG_SZ /d "DejaVu Sans" /f >/dev/null
done
"$wine_run" --restart-server

echo "== wine names no serial port here"
"$wine_run" --check-ports && pass || fail "a COM port of the prefix leads to a device"
# Wine lists each port it made: the registry's COM1 to COM255, and no COM256 for a device it found.
named=$("$wine_run" reg query 'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM' 2>/dev/null | tr -d '\r' |
  sed -n 's/.*REG_SZ *//p' | sort -V | tr '\n' ' ')
[ "$named" = "$(printf 'COM%d ' $(seq 255))" ] && pass ||
  fail "wine's serial ports are not the registry's COM1 to COM255: ${named:0:40}...${named: -40}"

# start PLATFORM PROGRAM TITLE [ARG...]: the program on the display, its window in $window.
start() {
  local platform=$1 program=$2 title=$3
  shift 3
  window=
  if [ "$platform" = linux ]; then
    QT_QPA_PLATFORM=xcb "$linux/$program" "$@" >"$work/$program.out" 2>"$work/$program.err" &
  else
    # In Chinese, as on a Chinese Windows: wine's user locale follows the Unix one, and this
    # machine may have no zh_CN locale; Qt on Windows takes LANG before the user's locale.
    LANG=zh_CN "$wine_run" "$windows/$program.exe" "$@" >"$work/$program.out" 2>"$work/$program.err" &
  fi
  app=$!
  for _ in $(seq 300); do
    window=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
    kill -0 "$app" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$window" ]; then
    fail "$program on $platform showed no window titled '$title': $(tail -3 "$work/$program.err")"
    return 1
  fi
  xdotool windowmove "$window" 40 40 >/dev/null 2>&1
  xdotool windowactivate --sync "$window" >/dev/null 2>&1 || xdotool windowfocus --sync "$window"
  sleep 1
}
stop() {
  [ -z "$app" ] || { kill "$app" 2>/dev/null; wait "$app" 2>/dev/null; }
  app=
  sleep 0.5
}
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.3; }
# paste X Y TEXT: TEXT in place of the box's at X Y, through the clipboard.
paste() {
  click "$1" "$2"
  printf '%s' "$3" | xclip -selection clipboard 2>/dev/null
  xdotool key ctrl+a ctrl+v
  sleep 0.5
}
# copied PLATFORM NAME KEY...: KEY pressed, and the clipboard then as X has it in
# $work/NAME-PLATFORM.txt and, under wine, as Windows has it in $work/NAME-windows.txt.
copied() {
  local platform=$1 name=$2
  shift 2
  printf 'nothing copied' | xclip -selection clipboard 2>/dev/null
  xdotool key "$@"
  sleep 0.8
  xclip -o -selection clipboard >"$work/$name-$platform.txt" 2>/dev/null
  [ "$platform" = linux ] || "$wine_run" "$work/clipboard_text.exe" >"$work/$name-windows.txt" 2>&1
}
# crs FILE: how many lines of FILE end in CR LF.
crs() { grep -c $'\r$' "$1"; }
# shot NAME: the window's client area, without the title bar.
shot() { import -window "$window" "$work/$1.png"; }
# glyphs NAME X Y W H CAPTION: CAPTION at X,Y in the shot NAME is drawn as glyphs.
glyphs() {
  local why
  why=$("$screen_check" glyphs "$work/$1.png" "$2" "$3" "$4" "$5" "$6" 2>&1 >/dev/null) && pass ||
    fail "$1: $6 is not drawn as glyphs: $why"
}
# keep NAME WIDTH: the shot, framed as a user sees it, into the shots folder at WIDTH pixels at most.
keep() {
  import -frame -window "$window" "$work/framed.png" &&
    convert "$work/framed.png" -resize "$2x>" -strip "$shots/$1.png"
}

echo "== the main window: 中A pasted, Enter, the result box copied"
# Positions in the window, from src/app/form1.ui.
input=(200 60) result=(200 300) send_box=(455 88)
for platform in linux wine; do
  start "$platform" lumadot '^Lumadot V1\.1' || continue
  paste "${input[@]}" 中A
  xdotool key Return
  sleep 1.5
  shot "main-$platform"
  [ "$platform" = linux ] || keep windows-main-window 575
  click "${result[@]}"
  copied "$platform" result ctrl+a ctrl+c
  stop
done
# differ WHAT EXPECTED ACTUAL: a FAIL line that says how the two files differ.
differ() {
  fail "$1: $(wc -c <"$3") bytes with $(crs "$3") lines ending in CR LF, not the $(wc -c <"$2") bytes with $(crs "$2")" \
    "expected; $(cmp "$2" "$3" 2>&1 | head -1)"
}
if cmp -s "$work/result-linux.txt" "$work/result-wine.txt"; then pass; else
  differ "the main window's result for 中A as X gets it from wine is not the Linux window's" \
    "$work/result-linux.txt" "$work/result-wine.txt"
fi
# A text box's text goes onto the Windows clipboard with CR LF for each line feed, as
# Windows programs expect; Linux's has the line feeds alone. Anything else must be the same.
perl -pe 's/\n/\r\n/' "$work/result-linux.txt" >"$work/result-crlf.txt"
if cmp -s "$work/result-crlf.txt" "$work/result-windows.txt"; then
  pass
  echo "the main window's result for 中A: $(wc -c <"$work/result-linux.txt") bytes on Linux's clipboard;" \
    "on Windows' $(wc -c <"$work/result-windows.txt"), the same text with its $(crs "$work/result-windows.txt") line feeds as CR LF"
else
  differ "the main window's result for 中A on the Windows clipboard is not the Linux window's with CR LF" \
    "$work/result-crlf.txt" "$work/result-windows.txt"
fi
# On Linux too, where the fonts are known to draw them: the check must pass there.
for platform in linux wine; do
  glyphs "main-$platform" 16 8 81 17 文字输入区：
  glyphs "main-$platform" 16 120 65 17 取模结果：
done

echo "== the main window at 150%: half as large again, its captions still glyphs"
# size: the window's client area as WIDTHxHEIGHT.
size() { xdotool getwindowgeometry --shell "$window" | awk -F= '/^WIDTH|^HEIGHT/ {printf "%s%s", sep, $2; sep="x"}'; }
if start wine lumadot '^Lumadot V1\.1'; then
  normal=$(size)
  stop
  # Windows' scaling is the desktop's dots per inch, which a program reads when it starts.
  "$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null
  if start wine lumadot '^Lumadot V1\.1'; then
    scaled=$(size)
    shot main-150
    stop
    # Each side 1.5 times, give or take a few pixels of Qt's rounding.
    awk -v n="$normal" -v s="$scaled" 'BEGIN { split(n, a, "x"); split(s, b, "x");
      exit !(a[1] > 0 && (b[1] - 1.5 * a[1])^2 <= 16 && (b[2] - 1.5 * a[2])^2 <= 16) }' && pass ||
      fail "the main window at 150% is $scaled, not half as large again as its $normal at 100%"
    echo "the main window under wine: $normal at 100%, $scaled at 150%"
    glyphs main-150 24 12 122 26 文字输入区：
  fi
  "$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null
fi

echo "== the workbench: 中A pasted, its dots lit, Ctrl+Shift+C"
printf '中A' | "$linux/lumadot-cli" extract >"$work/extract.txt" 2>/dev/null
for platform in linux wine; do
  start "$platform" lumadot-workbench '取模工作台' || continue
  xdotool windowsize "$window" 1000 640
  sleep 1
  paste 200 130 中A  # the text box, top left
  sleep 1
  copied "$platform" workbench ctrl+shift+c
  shot "workbench-$platform"
  [ "$platform" = linux ] || keep windows-workbench 800
  stop
  # The listing's own CR LF, kept on both clipboards; under wine, what a Windows program pastes.
  copy=$platform
  [ "$platform" = linux ] || copy=windows
  cmp -s "$work/extract.txt" "$work/workbench-$copy.txt" && pass ||
    differ "the workbench's Ctrl+Shift+C on $platform is not lumadot-cli extract's for 中A" \
      "$work/extract.txt" "$work/workbench-$copy.txt"
  lit=$("$screen_check" lit "$work/workbench-$platform.png" '#ff3020' 2>&1)
  [ "${lit:-0}" -ge 200 ] 2>/dev/null && pass || fail "the workbench on $platform shows no lit dots for 中A ($lit pixels)"
  # The status bar, bottom left.
  height=$(identify -format %h "$work/workbench-$platform.png" 2>/dev/null || echo 0)
  glyphs "workbench-$platform" 0 $((height - 22)) 180 22 "2 个字模，48 字节"
done

# line NAME: two pseudo-terminals joined by socat, $work/NAME and $work/NAME-end.
line() {
  socat "pty,raw,echo=0,link=$work/$1" "pty,raw,echo=0,link=$work/$1-end" 2>/dev/null &
  pids+=($!)
  for _ in $(seq 50); do [ -e "$work/$1" ] && [ -e "$work/$1-end" ] && break; sleep 0.1; done
}
# map_port N NAME: wine's COMn to the line's first end, the only device it may lead to.
map_port() {
  local device
  device=$(realpath "$work/$2")
  LUMADOT_WINE_PTYS="$LUMADOT_WINE_PTYS $device"
  "$wine_run" --map-port "$1" "$device" && "$wine_run" --restart-server
}

echo "== the main window under wine sends 中A through COM1"
line com1
map_port 1 com1
"$linux/lumadot-cli" extract --frame-out "$work/expected.bin" 中A >/dev/null 2>&1
size=$(stat -c %s "$work/expected.bin")
timeout 60 head -c "$size" "$work/com1-end" >"$work/received.bin" &
reader=$!
if start wine lumadot '^Lumadot V1\.1'; then
  click "${send_box[@]}"  # 取模并发送, which the button then says too
  shot main-send
  glyphs main-send 440 280 129 25 取模并发送
  paste "${input[@]}" 中A
  xdotool key Return
  timeout 30 tail --pid="$reader" -f /dev/null
  sleep 1
  xdotool key Return  # the notice that it was sent
  stop
fi
kill "$reader" 2>/dev/null
wait "$reader" 2>/dev/null
cmp -s "$work/expected.bin" "$work/received.bin" && pass ||
  fail "the main window under wine sent $(stat -c %s "$work/received.bin") bytes through COM1, not --frame-out's $size" \
    "$(cmp "$work/expected.bin" "$work/received.bin" 2>&1 | head -1)"

echo "== the sign window under wine on COM2 shows what the Linux one shows"
line sign-wine
line sign-linux
map_port 2 sign-wine
for platform in linux wine; do
  if [ "$platform" = linux ]; then
    LUMADOT_COM1=$work/sign-linux start linux lumadot-sign '^LED 屏模拟' || continue
  else
    start wine lumadot-sign '^LED 屏模拟' || continue
    click 80 98  # the port box
    xdotool key ctrl+a
    xdotool type com2
  fi
  click 60 252  # 开始接收
  sleep 0.5
  stty -F "$(realpath "$work/sign-$platform")" -inpck 2>/dev/null
  "$linux/lumadot-cli" extract --send --device "$work/sign-$platform-end" --reverse --split 中A \
    >/dev/null 2>"$work/feed.err" ||
    fail "lumadot-cli could not feed the $platform sign: $(head -1 "$work/feed.err")"
  sleep 2
  shot "sign-$platform"
  [ "$platform" = linux ] || keep windows-sign 560
  stop
  glyphs "sign-$platform" 8 114 41 17 波特率
  glyphs "sign-$platform" 8 138 41 17 校验位
done
why=$("$screen_check" same "$work/sign-linux.png" "$work/sign-wine.png" 8 8 544 68 2>&1) && pass ||
  fail "the sign's panel under wine is not the Linux sign's for 中A: $why"
lit=$("$screen_check" lit "$work/sign-wine.png" '#ff3020' 2>&1)
[ "${lit:-0}" -ge 200 ] 2>/dev/null && pass || fail "the sign's panel under wine shows no lit dots for 中A ($lit pixels)"

echo "in $(($(date +%s) - started)) s"
checks_done
