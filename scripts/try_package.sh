#!/usr/bin/env bash
# Tries the .deb that `make package` built as a user would, on this machine
# (root; it installs and removes the package):
#  1. unpacked anywhere, its lumadot-cli prints the build's listing, and man
#     shows each of its man pages without a warning;
#  2. installed with apt, each menu entry's command opens its window (Xvfb);
#  3. removed with apt, none of its files is left.
#   scripts/try_package.sh [DEB] [BIN_DIR]   (default ./lumadot_*.deb build/bin)
set -euo pipefail
cd "$(dirname "$0")/.."
deb=$(realpath "${1:-$(ls lumadot_*.deb)}")
bin=${2:-build/bin}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

mkdir -p "$work/any/where"
dpkg-deb -x "$deb" "$work/any/where"
cmp <("$work/any/where/usr/bin/lumadot-cli" extract 中A) <("$bin/lumadot-cli" extract 中A) ||
  fail "the unpacked lumadot-cli prints another listing"
for page in "$work"/any/where/usr/share/man/man1/*.1.gz; do
  warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -P cat -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man -l $page: $warnings"
done
echo "unpacked: the same listing; man shows its $(ls "$work"/any/where/usr/share/man/man1 | wc -l) pages"

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
dpkg -L lumadot > "$work/files"
for entry in /usr/share/applications/org.lumadot.*.desktop; do
  command=$(sed -n 's/^Exec=//p' "$entry")
  # The window is up once the window system shows a window of the process with a title.
  xvfb-run -a bash -c '"$1" & pid=$!
    for _ in $(seq 50); do
      for window in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
        title=$(xdotool getwindowname "$window"); [ -n "$title" ] && break 2
      done
      sleep 0.2
    done
    kill "$pid"; [ -n "$title" ] && echo "$2: $1 opened \"$title\""' _ "$command" "$(basename "$entry")" \
    2>/dev/null || fail "$entry: $command opened no window"
done

DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq lumadot >/dev/null
while read -r path; do
  if [ -f "$path" ] || { [ -d "$path" ] && [ -z "$(ls -A "$path")" ]; }; then fail "left behind: $path"; fi
done < "$work/files"
echo "removed: none of its $(wc -l < "$work/files") paths left"
