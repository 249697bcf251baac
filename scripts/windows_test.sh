#!/usr/bin/env bash
# The Windows programs, under wine, against the Linux build's:
#   scripts/windows_test.sh LINUX_BIN WINDOWS_BIN
# Every command of a corpus runs on both and must print the same bytes and
# end the same way; the fonts mkfont builds must be the same files; a frame
# sent through wine's COM1 must be the bytes --frame-out writes; and the sign
# listening on wine's COM2 must show what the Linux sign shows for the same
# frames. Wine leads COM ports to this machine's own unless told otherwise:
# scripts/wine_run.sh leads every one nowhere and runs nothing until it has
# checked they do, and this script leads the ones it uses to its own
# pseudo-terminals. First it checks that wine_run.sh refuses to run otherwise.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
linux=$(realpath "${1:?usage: windows_test.sh LINUX_BIN WINDOWS_BIN}")
windows=$(realpath "${2:?usage: windows_test.sh LINUX_BIN WINDOWS_BIN}")
wine_run=$here/scripts/wine_run.sh
export LC_ALL=C.UTF-8 TZ=UTC
# Blind to the caller's LUMADOT_* variables: a port chosen through the
# environment would reach wine's programs too, and this run sets its own prefix.
for name in $(compgen -e | grep '^LUMADOT_' || true); do unset "$name"; done

work=$(mktemp -d /tmp/lumadot-windows-test.XXXXXX)
# A prefix of this run's own: its COM ports start led nowhere, whatever an earlier run mapped.
export LUMADOT_WINE_PREFIX=$work/wine
# The pseudo-terminals this run made, the only devices wine_run.sh lets a COM port lead to.
export LUMADOT_WINE_PTYS=
pids=()
# The server goes first: it holds the terminals, and their hanging up would make it dump its state.
cleanup() {
  "$wine_run" --stop-server 2>/dev/null
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
# shellcheck source=scripts/checks.sh
source "$here/scripts/checks.sh"

# COMn to a pseudo-terminal of ours; the server is restarted so the next program sees it.
map_port() {
  LUMADOT_WINE_PTYS="$LUMADOT_WINE_PTYS $2"
  "$wine_run" --map-port "$1" "$2"
}
# The server is kept up between programs: one quitting on its own as the next
# program starts would fail that program (scripts/wine_run.sh --session).
restart_wine() { "$wine_run" --restart-server; }
restart_wine

echo "== wine's COM ports lead nowhere, and wine runs nothing while one could lead elsewhere"
dosdevices=$LUMADOT_WINE_PREFIX/dosdevices
# COM1 to COM255 lead to paths that are not there; com256, the number wine would give /dev/ttyS0, is a folder.
there=$(for entry in "$dosdevices"/com*; do [ ! -e "$entry" ] || echo "${entry##*/}"; done)
[ "$(find "$dosdevices" -mindepth 1 -maxdepth 1 -iname 'com*' -type l | wc -l)" = 255 ] && [ "$there" = com256 ] && pass ||
  fail "the COM links of a new prefix are not 255 leading nowhere and com256 held: $(ls -l "$dosdevices" | head -5)"
"$wine_run" --stop-server
cp "$LUMADOT_WINE_PREFIX/system.reg" "$work/system.reg"
# refused NAME CHANGE...: after CHANGE to the prefix, no program may start in it.
refused() {
  local name=$1
  shift
  "$@"
  if "$wine_run" cmd /c exit >/dev/null 2>"$work/refused.err"; then
    fail "wine ran a program with $name"
  elif ! grep -q 'not running' "$work/refused.err"; then
    fail "$name: $(head -3 "$work/refused.err")"
  else
    pass
  fi
  "$wine_run" --stop-server
  cp "$work/system.reg" "$LUMADOT_WINE_PREFIX/system.reg"
  rm -rf "$dosdevices/com7" "$dosdevices/com256"
  ln -s /dev/null/com7 "$dosdevices/com7"
  mkdir "$dosdevices/com256"
}
refused "dosdevices/com7 led to /dev/null" ln -sfn /dev/null "$dosdevices/com7"
refused "dosdevices/com7 led to a terminal no test made" ln -sfn /dev/ptmx "$dosdevices/com7"
refused "COM200 led to /dev/zero in the registry" sed -i 's|^"COM200"=.*|"COM200"="/dev/zero"|' "$LUMADOT_WINE_PREFIX/system.reg"
refused "COM255 named nowhere in the registry" sed -i '/^"COM255"=/d' "$LUMADOT_WINE_PREFIX/system.reg"
refused "com256 free for wine to lead to /dev/ttyS0" rmdir "$dosdevices/com256"
"$wine_run" --map-port 3 /dev/ptmx 2>/dev/null && fail "--map-port led COM3 to a terminal no test made" || pass
"$wine_run" --check-ports && pass || fail "the prefix was not put back as it was"
restart_wine

wine_cli() { "$wine_run" "$windows/lumadot-cli.exe" "$@"; }

# Messages name the programs' folders, which differ; and wine may end lines in CR LF.
normalise_errors() {
  tr -d '\r' | sed -e 's|\\|/|g' -e "s|Z:$linux|BIN|g; s|Z:$windows|BIN|g; s|$linux|BIN|g; s|$windows|BIN|g" \
    -e "s|Z:${linux%/*}|TOP|g; s|Z:${windows%/*}|TOP|g; s|${linux%/*}|TOP|g; s|${windows%/*}|TOP|g"
}

# compare NAME STDIN_FILE ARGS...: the same stdout, byte for byte, and the same exit status and messages.
compare() {
  local name=$1 input=$2
  shift 2
  local l=$work/out/linux w=$work/out/windows
  mkdir -p "$work/out"
  (cd "$work/run" && "$linux/lumadot-cli" "$@" <"$input" >"$l.out" 2>"$l.err")
  local lcode=$?
  (cd "$work/run" && wine_cli "$@" <"$input" >"$w.out" 2>"$w.err")
  local wcode=$?
  if ! cmp -s "$l.out" "$w.out"; then
    fail "$name: standard output differs ($(stat -c %s "$l.out") bytes on Linux, $(stat -c %s "$w.out") under wine)"
    cmp "$l.out" "$w.out" | head -2
  elif [ "$lcode" != "$wcode" ]; then
    fail "$name: exit status $lcode on Linux, $wcode under wine"
  elif ! diff <(normalise_errors <"$l.err") <(normalise_errors <"$w.err") >"$work/out/err.diff"; then
    fail "$name: messages differ"
    head -6 "$work/out/err.diff"
  else
    pass
  fi
}

mkdir -p "$work/run" "$work/in"
cd "$work/run" || exit 1
none=/dev/null

echo "== the zip"
# The zip carries exactly the DLLs its programs load: each DLL a program, a
# plugin Qt loads by name or a shipped DLL imports is in the zip or in wine's
# system32, Windows' own, and each DLL in the zip is loaded by one of them.
zip=$(find "${windows%/bin}" -maxdepth 1 -name 'lumadot-*-windows-x64.zip')
mkdir -p "$work/zip"
(cd "$work/zip" && unzip -q "$zip") && pass || fail "cannot unpack ${zip:-the zip}"
unpacked=$(find "$work/zip" -mindepth 1 -maxdepth 1 -type d)
system32=$LUMADOT_WINE_PREFIX/drive_c/windows/system32
imports() { x86_64-w64-mingw32-objdump -p "$1" | sed -n 's/^\tDLL Name: //p' | tr -d '\r'; }
# Windows compares names without case.
shipped_as() { find "$1" -maxdepth 1 -iname "$2" -print -quit; }
queue=("$unpacked"/*.exe)
for plugin in platforms/qwindows.dll styles/qwindowsvistastyle.dll; do
  [ -f "$unpacked/$plugin" ] && queue+=("$unpacked/$plugin")
done
loaded=" " problems=()
while [ ${#queue[@]} -gt 0 ]; do
  file=${queue[0]} queue=("${queue[@]:1}")
  loaded+="${file#"$unpacked"/} "
  while read -r dll; do
    [ -n "$dll" ] || continue
    found=$(shipped_as "$unpacked" "$dll")
    if [ -n "$found" ]; then
      [[ $loaded == *" ${found#"$unpacked"/} "* ]] || queue+=("$found")
    elif [ -z "$(shipped_as "$system32" "$dll")" ] && [[ ${dll,,} != api-ms-win-* ]]; then
      problems+=("${file#"$unpacked"/} imports $dll, which the zip does not carry")
    fi
  done < <(imports "$file")
done
while read -r dll; do
  [[ $loaded == *" $dll "* ]] || problems+=("the zip carries $dll, which nothing loads")
done < <(cd "$unpacked" && find . -iname '*.dll' -printf '%P\n')
[ ! -f "$unpacked/lumadot.exe" ] || [[ $loaded == *" platforms/qwindows.dll "* ]] ||
  problems+=("the windows are in the zip, but not the platform plugin they open them with")
[ ${#problems[@]} = 0 ] && pass || fail "$(printf '%s; ' "${problems[@]}")"
head -1 "$unpacked/README.txt" | grep -q "^Lumadot $("$linux/lumadot-cli" --version | grep -o '[0-9][0-9.]*[0-9]' | head -1) for Windows" &&
  pass || fail "the zip's README.txt does not begin with Lumadot and the version: $(head -1 "$unpacked/README.txt")"
for file in asc16 hzk16 docs/frame.md docs/firmware.md \
  README-zh.txt licences/LICENSE licences/THIRD-PARTY.txt lumadot-cli.exe lumadot-mkfont.exe; do
  [ -f "$unpacked/$file" ] && pass || fail "the zip has no $file"
done
# The same firmware as the Linux build's; the map names the build's own folder.
for image in lumadot-sign lumadot-sign-stc12c5a60s2 lumadot-sign-stc15w4k56s4-p10x4 lumadot-sign-stc8h8k64u-p10x4; do
  cmp -s "${linux%/bin}/firmware/$image.hex" "$unpacked/firmware/$image.hex" && pass ||
    fail "the zip's $image.hex is not the Linux build's"
done
cmp -s <(sed "s|${linux%/bin}/||" "${linux%/bin}/firmware/lumadot-sign.map") \
  <(sed "s|${windows%/bin}/||" "$unpacked/firmware/lumadot-sign.map") && pass ||
  fail "the zip's lumadot-sign.map is not the Linux build's"

echo "== the fonts mkfont builds"
for font in asc16 hzk16; do
  cmp -s "$linux/$font" "$windows/$font" && pass || fail "$font built under wine differs from Linux's"
done
"$linux/lumadot-mkfont" --unifont /usr/share/unifont/unifont.hex --charset gbk --out "$work/linux-fonts" >/dev/null 2>&1
"$wine_run" "$windows/lumadot-mkfont.exe" --unifont /usr/share/unifont/unifont.hex --charset gbk \
  --out "$work/中文字库" >/dev/null 2>"$work/mkfont.err" || fail "mkfont --out 中文字库 under wine failed"
# The files are named as the folder was given, not with a \ before the name alone.
wrote="lumadot-mkfont: wrote $work/中文字库/asc16 and $work/中文字库/gbk16"
tr -d '\r' <"$work/mkfont.err" | grep -qxF "$wrote" && pass ||
  fail "mkfont under wine did not say '$wrote': $(tail -1 "$work/mkfont.err")"
for font in asc16 gbk16; do
  cmp -s "$work/linux-fonts/$font" "$work/中文字库/$font" && pass || fail "mkfont's $font under wine differs"
done
# A scalable font drawn at 24 dots, by FreeType on both, from a file with a Chinese name under wine.
ttf=/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc
cp "$ttf" "$work/in/文泉驿.ttc"
"$linux/lumadot-mkfont" --font "$ttf" --size 24 --charset gbk --out "$work/linux-24" >/dev/null 2>&1
"$wine_run" "$windows/lumadot-mkfont.exe" --font "$work/in/文泉驿.ttc" --size 24 --charset gbk --out "$work/字库24" \
  >/dev/null 2>&1 || fail "mkfont --font 文泉驿.ttc under wine failed"
for font in asc24 gbk24; do
  cmp -s "$work/linux-24/$font" "$work/字库24/$font" && pass || fail "mkfont --font's $font under wine differs"
done
compare "extract --font 文泉驿.ttc" $none extract --font "$work/in/文泉驿.ttc" --size 24 '字体A'

echo "== extract, for a corpus of texts"
long=$(python3 -c 'print(("中文ABC，" * 700)[:4097], end="")')
texts=("中A" "你好，世界！" "Hello, sign 123" "①±§¥²€" "镕堃喆" "😀表情" "" "$long")
for text in "${texts[@]}"; do
  compare "extract '${text:0:12}'" $none extract "$text"
  compare "extract --charset gbk '${text:0:12}'" $none extract --charset gbk --font-dir "$work/中文字库" "$text"
done
for format in listing a51 as31 sdas c51 sdcc bin hex; do
  compare "extract --format $format" $none extract --format "$format" --name 字 --table "中A①"
done
for scan in rows row-bands columns column-bands; do
  compare "extract --scan $scan" $none extract --scan "$scan" --lsb-first --negative "中A"
  compare "extract --size 24 --scan $scan" $none extract --size 24 --font-dir "$work/字库24" --charset gbk --scan "$scan" "中A"
done
printf '中文A' | iconv -f UTF-8 -t GB2312 >"$work/in/gb.txt"
printf '中文A' | iconv -f UTF-8 -t UTF-16 >"$work/in/u16.txt"
printf '\xd6\xd0\xff\xfe' >"$work/in/bad.txt"
compare "extract --encoding gb2312 (stdin)" "$work/in/gb.txt" extract --encoding gb2312
compare "extract --text-file (UTF-16)" $none extract --text-file "$work/in/u16.txt"
compare "extract --encoding gbk, bad bytes" "$work/in/bad.txt" extract --encoding gbk
compare "extract --encoding big5, bad bytes" "$work/in/bad.txt" extract --encoding big5
compare "extract, no such font folder" $none extract --font-dir "$work/nowhere" "中"

echo "== Chinese folder and file names"
mkdir -p "$work/run/字库"
cp "$linux/asc16" "$linux/hzk16" "$work/run/字库/"
compare "extract --font-dir 字库" $none extract --font-dir 字库 "字库A"
"$linux/lumadot-cli" extract --frame-out "$work/run/linux.bin" "帧A" >/dev/null 2>&1
wine_cli extract --frame-out 帧.bin "帧A" >/dev/null 2>&1
cmp -s "$work/run/linux.bin" "$work/run/帧.bin" && pass || fail "--frame-out 帧.bin under wine is not Linux's frame"
compare "extract --text-file 文本.txt" $none extract --text-file "$(printf '中A' >"$work/in/文本.txt"; echo "$work/in/文本.txt")"

echo "== the other commands"
compare "preview" $none preview "中A"
compare "preview --ascii --width 40" $none preview --ascii --width 40 "显示屏"
"$linux/lumadot-cli" preview --png "$work/run/l.png" "中A" >/dev/null 2>&1
wine_cli preview --png 预览.png "中A" >/dev/null 2>&1
cmp -s "$work/run/l.png" "$work/run/预览.png" && pass || fail "preview --png 预览.png under wine differs"
"$linux/lumadot-cli" extract --format bin "中" >"$work/in/zhong.bin" 2>/dev/null
compare "detect" "$work/in/zhong.bin" detect "中"
compare "layouts" $none layouts
compare "layouts --size 24" $none layouts --size 24
compare "font" $none font --format c51 "中文ABC"
compare "font --range" $none font --format sdcc --range 0x41-0x5a
"$linux/lumadot-cli" preview --png "$work/in/picture.png" "图" >/dev/null 2>&1
compare "picture" $none picture --height 16 "$work/in/picture.png"
compare "picture --dither" $none picture --height 16 --dither --format hex "$work/in/picture.png"
for command in "" extract font preview picture detect layouts ports sign; do
  compare "${command:-lumadot-cli} --help" $none $command --help
done
# --locale names Windows' own region settings there: the rest of the help is the same.
without_locale() { tr -d '\r' | sed '/--locale NAME  /,/^  --font-dir/{/^  --font-dir/!d}'; }
cmp -s <("$linux/lumadot-cli" clock --help | without_locale) <(wine_cli clock --help | without_locale) && pass ||
  fail "clock --help differs beyond --locale"
compare "a wrong option" $none extract --no-such-option
compare "--version" $none --version

echo "== a console, which takes text rather than bytes"
# On a terminal wine gives the program a console: the listing must reach it as the characters it holds.
timeout 120 script -qec "\"$wine_run\" \"$windows/lumadot-cli.exe\" extract 中A" "$work/console.txt" >/dev/null 2>&1
grep -q ';--------中--------字模结构：　16\*16　点阵' "$work/console.txt" && pass ||
  fail "the listing on wine's console is not the characters it holds: $(head -c 300 "$work/console.txt" | od -c | head -4)"

echo "== clock and ports, in wine's own words"
# The sentence, from the listing's comments: one character each.
sentence() { tr -d '\r' | sed -n 's/^;--------\(.*\)--------字模结构.*/\1/p' | tr -d '\n'; }
clock=$(wine_cli clock --count 1 --locale zh_CN 2>/dev/null | sentence)
grep -q '今天是[0-9]\{4\}/[0-9]\{1,2\}/[0-9]\{1,2\}(星期.)现在时间[0-9][0-9]:[0-9][0-9]:[0-9][0-9]' <<<"$clock" && pass ||
  fail "clock under wine wrote no date and time: ${clock:0:200}"
# The same day reads the same in zh_CN on both; the time moves on between the two runs.
linux_clock=$("$linux/lumadot-cli" clock --count 1 --locale zh_CN 2>/dev/null | sentence)
[ "${clock%现在时间*}" = "${linux_clock%现在时间*}" ] && pass || fail "clock: '$clock' under wine, '$linux_clock' on Linux"

echo "== a frame through wine's COM1"
socat pty,raw,echo=0,link="$work/pc" pty,raw,echo=0,link="$work/line" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -e "$work/pc" ] && [ -e "$work/line" ] && break; sleep 0.1; done
map_port 1 "$(realpath "$work/pc")"
restart_wine
# Present: a port that opens. COM2 and COM16 lead nowhere yet, as do COM17 to COM255.
ports=$(wine_cli ports 2>&1 | tr -d '\r')
for row in 'com1 COM1 present' 'com2 COM2 absent' 'com16 COM16 absent'; do
  read -r name device state <<<"$row"
  grep -q "^$name *$device *$state " <<<"$ports" && pass || fail "ports under wine does not show $device $state: ${ports:0:400}"
done
[ "$(grep -c 'present' <<<"$ports")" = 1 ] && pass || fail "ports under wine shows more than COM1 present: ${ports:0:400}"
"$linux/lumadot-cli" extract --frame-out "$work/expected.bin" --reverse --split "串口中A" >/dev/null 2>&1
size=$(stat -c %s "$work/expected.bin")
stty -F "$(realpath "$work/pc")" 38400 -inpck 2>/dev/null
timeout 60 head -c "$size" "$work/line" >"$work/received.bin" &
reader=$!
wine_cli extract --send --port com1 --reverse --split "串口中A" >/dev/null 2>"$work/send.err" || fail "extract --send under wine: $(head -3 "$work/send.err")"
wait "$reader"
cmp -s "$work/expected.bin" "$work/received.bin" && pass ||
  fail "the frame through COM1 ($(stat -c %s "$work/received.bin") bytes) is not --frame-out's ($size bytes)"
# The same port by its Win32 device name, as a port above COM9 must be named.
stty -F "$(realpath "$work/pc")" 38400 -inpck 2>/dev/null
timeout 60 head -c "$size" "$work/line" >"$work/received.bin" &
reader=$!
wine_cli extract --send --device '\\.\COM1' --reverse --split "串口中A" >/dev/null 2>"$work/send.err" ||
  fail "extract --send --device \\.\COM1 under wine: $(head -3 "$work/send.err")"
wait "$reader"
cmp -s "$work/expected.bin" "$work/received.bin" && pass || fail "the frame through \\.\COM1 is not --frame-out's"

echo "== the sign on wine's COM2, fed by Linux"
socat pty,raw,echo=0,link="$work/sign" pty,raw,echo=0,link="$work/feed" 2>/dev/null &
pids+=($!)
socat pty,raw,echo=0,link="$work/linux-sign" pty,raw,echo=0,link="$work/linux-feed" 2>/dev/null &
pids+=($!)
for _ in $(seq 50); do [ -e "$work/sign" ] && [ -e "$work/linux-feed" ] && break; sleep 0.1; done
map_port 2 "$(realpath "$work/sign")"
restart_wine
stty -F "$(realpath "$work/sign")" 38400 -inpck 2>/dev/null
wine_cli sign --port com2 --count 2 --png 标志.png >"$work/sign-wine.out" 2>"$work/sign-wine.err" &
wine_sign=$!
"$linux/lumadot-cli" sign --device "$work/linux-sign" --count 2 --png "$work/run/sign-linux.png" \
  >"$work/sign-linux.out" 2>"$work/sign-linux.err" &
linux_sign=$!
sleep 3  # both listening
for text in "标志A" "第二帧"; do
  for feed in feed linux-feed; do
    LUMADOT_COM1=$work/$feed "$linux/lumadot-cli" extract --send --reverse --split "$text" >/dev/null 2>&1 ||
      fail "extract --send to $feed"
  done
  sleep 1
done
timeout 30 tail --pid="$wine_sign" -f /dev/null
timeout 30 tail --pid="$linux_sign" -f /dev/null
if cmp -s "$work/sign-linux.out" "$work/sign-wine.out" && [ -s "$work/sign-wine.out" ]; then pass; else
  fail "sign under wine showed otherwise than on Linux"
  diff "$work/sign-linux.out" "$work/sign-wine.out" | head -8
  head -3 "$work/sign-wine.err"
fi
cmp -s "$work/run/sign-linux.png" "$work/run/标志.png" && pass || fail "sign --png 标志.png under wine differs"

echo "== every code table entry, and the Win32 port on its own"
tests_linux=$(dirname "$linux")/tests/bin
tests_windows=$(dirname "$windows")/tests/bin
"$here/scripts/code_table_check.sh" "$tests_linux/code_table_dump" "$tests_windows/code_table_dump.exe" && pass ||
  fail "the code tables differ between Linux and Windows"
"$here/scripts/wine_serial_check.sh" "$tests_windows/win32_serial_check.exe" --gtest_brief=1 && pass ||
  fail "the Win32 serial check failed"

checks_done
