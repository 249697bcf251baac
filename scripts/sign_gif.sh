#!/usr/bin/env bash
# Makes docs/sign-clock.gif: the clock's frame, moving left, as lumadot-cli
# sign receives it over two pseudo-terminals joined by socat.
#   scripts/sign_gif.sh [BIN_DIR] [OUT]   (default build/bin docs/sign-clock.gif)
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${1:-build/bin}
out=${2:-docs/sign-clock.gif}
line=$(mktemp -d)
trap 'kill "$socat" 2>/dev/null; rm -rf "$line"' EXIT
socat "pty,raw,echo=0,link=$line/pc" "pty,raw,echo=0,link=$line/sign" &
socat=$!
for _ in $(seq 100); do [ -e "$line/pc" ] && [ -e "$line/sign" ] && break; sleep 0.05; done
"$bin/lumadot-cli" sign --device "$line/sign" --count 1 --gif "$out" &
sign=$!
LUMADOT_COM1="$line/pc" "$bin/lumadot-cli" clock --send --count 1 --mode 左移 --quiet
wait "$sign"
echo "wrote $out"
