#!/bin/sh
# Retakes the README's screenshot the way a user gets there: start the desktop
# program under Xvfb, type 中A into the input box, press Enter, capture the
# main window. Then copies the result box and checks it against what
# lumadot-cli prints for the same text.
#   scripts/screenshot.sh [BIN_DIR] [OUTPUT_PNG]
# Needs xvfb, openbox, xdotool, xclip and imagemagick (make screenshot installs them).
set -eu

bin_dir=${1:-build/bin}
output=${2:-docs/main-window.png}
work=$(mktemp -d)
# shellcheck source=scripts/xvfb_session.sh
. "$(dirname "$0")/xvfb_session.sh"
app=
trap 'kill $app $wm $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT INT TERM
xvfb_start 800x600
window_manager_start

"$bin_dir/lumadot" 2>"$work/stderr" &
app=$!
wait_for_window '^Lumadot V1\.1' 'the main window'
xdotool windowfocus --sync "$window"
sleep 0.5
xdotool key Tab                 # from 取模 to the input box
xdotool type --delay 150 '中A'
xdotool key Return
sleep 1
import -frame -window "$window" "$output"
echo "wrote $output"

# Select all of the result box and copy it, as a user would.
xdotool mousemove --window "$window" 200 300 click 1
sleep 0.2
xdotool key ctrl+a ctrl+c
sleep 0.3
xclip -o -selection clipboard >"$work/window.txt"
printf '中A' | "$bin_dir/lumadot-cli" extract | tr -d '\r' >"$work/cli.txt"
if cmp -s "$work/window.txt" "$work/cli.txt"; then
  echo "the result box holds what lumadot-cli extract prints for 中A ($(wc -c <"$work/cli.txt") bytes)"
else
  echo "the result box differs from lumadot-cli extract:" >&2
  diff "$work/cli.txt" "$work/window.txt" >&2 || true
  exit 1
fi
