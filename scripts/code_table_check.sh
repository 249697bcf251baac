#!/bin/sh
# The code tables as the Linux build and the Windows build read and write
# them, diffed: every GB2312, GBK, GB18030, Big5 and UTF-16 sequence the dump
# tries, and every character's GBK code. Builds nothing: give it the two
# builds of tests/extract/code_table_dump.cpp.
#   scripts/code_table_check.sh LINUX_DUMP WINDOWS_DUMP.exe [TABLE...]
# TABLE is decode, gb18030, utf16 or ansi; all of them without one.
# The Windows build runs under wine through scripts/wine_run.sh, in its prefix.
set -eu

if [ $# -lt 2 ]; then
  echo "usage: $0 LINUX_DUMP WINDOWS_DUMP.exe [decode|gb18030|utf16|ansi]..." >&2
  exit 2
fi
linux_dump=$1
windows_dump=$2
shift 2
wine_run=$(cd "$(dirname "$0")" && pwd)/wine_run.sh
export LC_ALL=C.UTF-8

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

"$linux_dump" "$@" >"$out/linux.txt"
"$wine_run" "$windows_dump" "$@" >"$out/windows.txt"

lines=$(wc -l <"$out/linux.txt")
if [ "$lines" -eq 0 ]; then
  echo "$0: $linux_dump printed nothing" >&2
  exit 1
fi
if cmp -s "$out/linux.txt" "$out/windows.txt"; then
  echo "code tables: $lines lines, the same on Linux and Windows"
  exit 0
fi
differing=$(diff "$out/linux.txt" "$out/windows.txt" | grep -c '^<' || true)
echo "code tables: $differing of $lines lines differ between Linux (<) and Windows (>):"
diff "$out/linux.txt" "$out/windows.txt" | head -n 40
exit 1
