#!/bin/sh
# Opens the workbench under Xvfb the way a script would, with the layout and
# format on its command line, presses Ctrl+Shift+C and checks that the
# clipboard holds exactly what lumadot-cli extract prints for the same
# options; then captures the window (the README's picture) and checks that
# it shows lit dots.
#   scripts/workbench_screenshot.sh [BIN_DIR] [OUTPUT_PNG]
# Needs xvfb, openbox, xdotool, xclip and imagemagick (make screenshot installs them).
set -eu
# Blind to the caller's LUMADOT_* variables: each run below sets what it needs.
for variable in $(env | sed -n 's/^\(LUMADOT_[A-Za-z0-9_]*\)=.*/\1/p'); do unset "$variable"; done

bin_dir=${1:-build/bin}
output=${2:-docs/workbench.png}
work=$(mktemp -d)
options='--scan columns --lsb-first --format c51'

# shellcheck source=scripts/xvfb_session.sh
. "$(dirname "$0")/xvfb_session.sh"
app=
trap 'kill $app $wm $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT INT TERM
xvfb_start 1280x800
window_manager_start

# A settings folder of its own, so the window starts as on a first run.
export XDG_CONFIG_HOME="$work/config"
# shellcheck disable=SC2086
"$bin_dir/lumadot-workbench" $options 中A 2>"$work/stderr" &
app=$!
wait_for_window 'Lumadot' 'the workbench' 150
xdotool windowsize "$window" 1180 720
xdotool windowfocus --sync "$window"
sleep 1.5
xdotool key ctrl+shift+c
sleep 0.5
xclip -o -selection clipboard >"$work/clipboard.txt"
# shellcheck disable=SC2086
"$bin_dir/lumadot-cli" extract $options 中A >"$work/cli.txt"
if cmp -s "$work/clipboard.txt" "$work/cli.txt"; then
  echo "Ctrl+Shift+C copied exactly lumadot-cli extract $options 中A ($(wc -c <"$work/cli.txt") bytes)"
else
  echo "the clipboard differs from lumadot-cli extract $options 中A:" >&2
  diff "$work/cli.txt" "$work/clipboard.txt" >&2 || true
  exit 1
fi

import -frame -window "$window" "$output"
# The dot picture lights its dots in red; a window without them shows no glyph.
lit=$(convert "$output" -fuzz 20% -fill white +opaque '#ff3020' -fill black -opaque '#ff3020' \
  -negate -format '%[fx:int(mean*w*h)]' info:)
if [ "$lit" -lt 100 ]; then
  echo "the window shows no lit dots ($lit red pixels)" >&2
  exit 1
fi
echo "wrote $output ($lit lit-dot pixels)"
