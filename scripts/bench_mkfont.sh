#!/usr/bin/env bash
# Builds glyphs from one font file with lumadot-mkfont and with lv_font_conv
# 1.5.3 (npm), for the same characters (GB2312's 7,445 and printable ASCII) at
# 16 pixels, 1 bit per dot, and prints the wall time and peak memory of each,
# the median of several runs, and their ratios.
#
#   FONT        font file (default: GNU Unifont's OpenType outlines)
#   MKFONT      lumadot-mkfont to run (default build/bin/lumadot-mkfont)
#   RUNS        runs of each (default 5)
#
# lv_font_conv is installed into build/bench-tools on the first run; it is
# never needed by the build or the tests.
set -euo pipefail
cd "$(dirname "$0")/.."

font=${FONT:-/usr/share/fonts/opentype/unifont/unifont.otf}
mkfont=${MKFONT:-build/bin/lumadot-mkfont}
runs=${RUNS:-5}
tools=build/bench-tools
lv="$tools/node_modules/.bin/lv_font_conv"

[ -x "$mkfont" ] || { echo "bench_mkfont: $mkfont not built; run 'make build' first" >&2; exit 1; }
[ -r "$font" ] || { echo "bench_mkfont: cannot read $font" >&2; exit 1; }
[ -x /usr/bin/time ] || { echo "bench_mkfont: needs GNU time: apt-get install time" >&2; exit 1; }
if [ ! -x "$lv" ]; then
  command -v npm >/dev/null || { echo "bench_mkfont: needs npm: apt-get install npm" >&2; exit 1; }
  npm install --silent --no-audit --no-fund --prefix "$tools" lv_font_conv@1.5.3 >&2
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Every two-byte GB2312 code that iconv turns into a character.
gb2312=$(LC_ALL=C awk 'BEGIN { for (r = 161; r <= 247; r++) for (c = 161; c <= 254; c++) printf "%c%c", r, c }' |
  iconv -c -f GB2312 -t UTF-8)

# Runs "$@" once; prints its wall time in seconds and its peak memory in KB.
measure() {
  local start end
  start=$(date +%s%N)
  /usr/bin/time -f "%M" -o "$work/rss" "$@" >/dev/null 2>"$work/err" || { cat "$work/err" >&2; exit 1; }
  end=$(date +%s%N)
  echo "$(( (end - start) / 1000 )) $(cat "$work/rss")"
}

# The median wall time (µs) and median peak memory (KB) of $runs runs.
median_of_runs() {
  local i
  for ((i = 0; i < runs; i++)); do measure "$@"; done >"$work/runs"
  echo "$(cut -d' ' -f1 "$work/runs" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")" \
       "$(cut -d' ' -f2 "$work/runs" | sort -n | sed -n "$(( (runs + 1) / 2 ))p")"
}

read -r ours_us ours_kb < <(median_of_runs "$mkfont" --font "$font" --out "$work/ours")
read -r lv_us lv_kb < <(median_of_runs "$lv" --font "$font" --size 16 --bpp 1 --format bin --no-compress \
  -r 0x20-0x7E --symbols "$gb2312" -o "$work/lv.bin")

echo "$font at 16 px, 1 bit per dot: GB2312's $(printf %s "$gb2312" | wc -m) characters and printable ASCII;"
echo "median of $runs runs on $(nproc) cores"
awk -v ou="$ours_us" -v ok="$ours_kb" -v lu="$lv_us" -v lk="$lv_kb" 'BEGIN {
  printf "%-20s %10s %12s\n", "", "wall time", "peak memory"
  printf "%-20s %8.3f s %9.1f MB\n", "lumadot-mkfont", ou / 1e6, ok / 1024
  printf "%-20s %8.3f s %9.1f MB\n", "lv_font_conv 1.5.3", lu / 1e6, lk / 1024
  printf "lumadot-mkfont is %.0f times faster and takes 1/%.0f of the peak memory\n", lu / ou, lk / ok
}'
