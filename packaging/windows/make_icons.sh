#!/usr/bin/env bash
# Makes the windows' .ico files from the glyphs the Linux menus show
# (packaging/CMakeLists.txt), at the sizes Windows asks for, whole dots each:
#   packaging/windows/make_icons.sh LINUX_BIN
# LINUX_BIN holds lumadot-cli and the fonts asc16 and hzk16. The icons are
# committed, so the cross build needs neither ImageMagick nor a Linux build.
set -euo pipefail
bin=$(realpath "${1:?usage: make_icons.sh LINUX_BIN}")
out=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/icons
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for icon in lumadot:字 lumadot-sign:屏 lumadot-workbench:模; do
  name=${icon%%:*} glyph=${icon#*:} pngs=()
  for size in 16 32 48 64 128 256; do
    "$bin/lumadot-cli" preview --font-dir "$bin" --scale $((size / 16)) --png "$work/$name-$size.png" -- "$glyph"
    pngs+=("$work/$name-$size.png")
  done
  convert "${pngs[@]}" "$out/$name.ico"
done
