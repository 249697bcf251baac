#!/bin/sh
# Redraws the README's picture of one text in three fonts, each built by
# lumadot-mkfont and drawn by lumadot-cli preview, stacked top to bottom:
# GNU Unifont, AR PL UMing, WenQuanYi Bitmap Song.
#   scripts/fonts_picture.sh [BIN_DIR] [OUTPUT_PNG]
# Needs unifont, fonts-arphic-uming, xfonts-wqy and imagemagick.
set -eu

bin_dir=${1:-build/bin}
output=${2:-docs/fonts.png}
text='欢迎光临 Welcome 2026'
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$bin_dir/lumadot-mkfont" --unifont /usr/share/unifont/unifont.hex --out "$work/unifont"
"$bin_dir/lumadot-mkfont" --font /usr/share/fonts/truetype/arphic/uming.ttc --out "$work/uming"
"$bin_dir/lumadot-mkfont" --font /usr/share/fonts/X11/misc/wenquanyi_12pt.pcf --out "$work/wqy"
for font in unifont uming wqy; do
  "$bin_dir/lumadot-cli" preview --font-dir "$work/$font" --png "$work/$font.png" --scale 4 "$text"
done
/usr/bin/convert "$work/unifont.png" "$work/uming.png" "$work/wqy.png" \
  -background white -splice 0x12 -append -chop 0x12 +repage -strip "$output"
