#!/bin/sh
# Retakes docs/sign-window.png: lumadot-sign under Xvfb listening on one end of
# a socat-joined serial line, "开始接收" clicked, and lumadot-cli sending 中A
# (moving left) and then a frame with a wrong speed byte at the other end.
#   scripts/sign_screenshot.sh [BIN_DIR] [OUTPUT_PNG]
# Needs xvfb, openbox, xdotool, imagemagick and socat (make screenshot installs them).
set -eu

bin_dir=${1:-build/bin}
output=${2:-docs/sign-window.png}
work=$(mktemp -d)
# shellcheck source=scripts/xvfb_session.sh
. "$(dirname "$0")/xvfb_session.sh"
app=
socat=
trap 'kill $app $wm $socat $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT INT TERM
socat "pty,raw,echo=0,link=$work/pc" "pty,raw,echo=0,link=$work/sign" &
socat=$!
xvfb_start 800x600
for _ in $(seq 50); do [ -e "$work/sign" ] && break; sleep 0.1; done
window_manager_start

LUMADOT_COM1="$work/sign" "$bin_dir/lumadot-sign" 2>"$work/stderr" &
app=$!
wait_for_window '^LED 屏模拟' 'the sign window'
xdotool windowfocus --sync "$window"
sleep 0.5
xdotool mousemove --window "$window" 60 252 click 1   # 开始接收
sleep 0.5
# A frame whose speed byte is 0: the list shows its warning.
printf '\011\000\001' >"$work/bad"
head -c 1085 /dev/zero >>"$work/bad"
cat "$work/bad" >"$work/pc"
sleep 1
LUMADOT_COM1="$work/pc" "$bin_dir/lumadot-cli" extract --send --reverse --split --mode 左移 --speed 8 '中A 显示屏' >/dev/null 2>&1
sleep 2.2
import -frame -window "$window" "$output"
echo "wrote $output"
