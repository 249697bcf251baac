#!/usr/bin/env bash
# The installer's round trip under wine, in a new prefix of its own:
#   scripts/windows_install_test.sh WINDOWS_BUILD_DIR
# lumadot-VERSION-setup.exe is run silently for the current user into a folder
# of a Chinese name given with /D=, and then for all users into its default
# folder. Each time the installed files must be the zip's and the uninstaller,
# the installed programs must start, the Start menu must hold a link to each
# window, and Windows' list of programs an entry for Lumadot in the hive of the
# mode; the uninstaller, started as that entry says, must then take all of it
# away, and leave a file the user put in the folder where it was.
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath "${1:?usage: windows_install_test.sh WINDOWS_BUILD_DIR}")
wine_run=$here/scripts/wine_run.sh
export LC_ALL=C.UTF-8
for name in $(compgen -e | grep '^LUMADOT_' || true); do unset "$name"; done
setup=$(find "$build" -maxdepth 1 -name 'lumadot-*-setup.exe' | head -1)
zip=$(find "$build" -maxdepth 1 -name 'lumadot-*-windows-x64.zip' | head -1)
[ -n "$setup" ] && [ -n "$zip" ] || { echo "windows_install_test.sh: no installer or zip in $build" >&2; exit 1; }
version=${setup##*/lumadot-}
version=${version%-setup.exe}

work=$(mktemp -d /tmp/lumadot-install-test.XXXXXX)
# A new prefix: its COM ports lead nowhere, and no earlier install is in it.
export LUMADOT_WINE_PREFIX=$work/wine LUMADOT_WINE_PTYS=
prefix=$LUMADOT_WINE_PREFIX
cleanup() {
  "$wine_run" --stop-server 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
# shellcheck source=scripts/checks.sh
source "$here/scripts/checks.sh"
check() {  # check DESCRIPTION COMMAND...: COMMAND must succeed
  local what=$1
  shift
  if "$@"; then pass; else fail "$what"; fi
}

mkdir -p "$work/zip"
(cd "$work/zip" && unzip -q "$zip") || { echo "windows_install_test.sh: cannot unpack $zip" >&2; exit 1; }
stage=$(find "$work/zip" -mindepth 1 -maxdepth 1 -type d)
(cd "$stage" && find . -type f | sort) >"$work/zip.list"

"$wine_run" --restart-server
unix_path() { "$wine_run" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
key='Software\Microsoft\Windows\CurrentVersion\Uninstall\Lumadot'
# reg_value HIVE NAME: the value, or nothing. Exported, since `reg query` prints
# in the console's code page, where Chinese is lost.
reg_value() {
  rm -f "$work/key.reg"
  "$wine_run" reg export "$1\\$key" 'Z:'"$work/key.reg" /y >/dev/null 2>&1 || return 0
  iconv -f UTF-16 -t UTF-8 "$work/key.reg" | tr -d '\r' |
    sed -n "s/^\"$2\"=//p" | sed -e 's/^"\(.*\)"$/\1/' -e 's/\\\(.\)/\1/g'
}
start_menu() {
  if [ "$1" = AllUsers ]; then
    echo "$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs"
  else
    echo "$(unix_path "$("$wine_run" cmd /c echo %APPDATA% | tr -d '\r')")/Microsoft/Windows/Start Menu/Programs"
  fi
}
windows=()
[ -f "$stage/lumadot.exe" ] && windows=("lumadot:Lumadot 取模" "lumadot-workbench:Lumadot 取模工作台"
  "lumadot-sign:Lumadot LED 屏模拟")

# round_trip MODE HIVE OTHER_HIVE [FOLDER]: installs, checks, uninstalls, checks.
round_trip() {
  local mode=$1 hive=$2 other=$3 folder=${4:-} dir
  local args=(/S "/$mode")
  echo "== installed for $mode${folder:+ into $folder}"
  [ -z "$folder" ] || args+=("/D=$folder")
  check "the installer for $mode failed" "$wine_run" "$setup" "${args[@]}"
  local location
  location=$(reg_value "$hive" InstallLocation)
  [ -n "$folder" ] && [ "$location" != "$folder" ] && fail "InstallLocation is '$location', not $folder"
  dir=$(unix_path "$location")
  if [ -z "$location" ] || [ ! -d "$dir" ]; then
    fail "no install folder in $hive\\$key"
    return
  fi
  (cd "$dir" && find . -type f | sort) >"$work/installed.list"
  diff <(cat "$work/zip.list" <(echo ./uninstall.exe) | sort) "$work/installed.list" >"$work/list.diff" && pass ||
    { fail "the installed files are not the zip's and uninstall.exe:"; head -8 "$work/list.diff"; }
  local same=yes file
  while read -r file; do cmp -s "$stage/$file" "$dir/$file" || { same="$file differs"; break; }; done <"$work/zip.list"
  check "an installed file is not the zip's: $same" [ "$same" = yes ]

  local printed status
  printed=$("$wine_run" "$dir/lumadot-cli.exe" --version 2>&1 | tr -d '\r')
  check "the installed lumadot-cli.exe --version said '$printed'" grep -q "$version" <<<"$printed"
  local window title
  # Windows' loader ends a program whose DLLs are not all there with 53 before it runs a line.
  for window in "${windows[@]}"; do
    run_window "$dir/${window%%:*}.exe" --help >"$work/window.out" 2>&1
    status=$?
    check "the installed ${window%%:*}.exe --help ended with $status: $(head -c 300 "$work/window.out")" [ $status = 0 ]
  done
  "$wine_run" --restart-server

  local menu links
  menu=$(start_menu "$mode")
  links=$(find "$menu" -maxdepth 1 -name '*.lnk' -printf '%f\n' 2>/dev/null | sort)
  check "the Start menu of $mode holds '$links', not one link to each window" \
    [ "$links" = "$(for window in "${windows[@]}"; do echo "${window#*:}.lnk"; done | sort)" ]
  for window in "${windows[@]}"; do
    grep -aq "${window%%:*}.exe" "$menu/${window#*:}.lnk" && pass || fail "${window#*:}.lnk leads elsewhere"
  done

  local name value
  for name in DisplayName:"Lumadot $version" DisplayVersion:"$version" InstallLocation:"$location" \
    UninstallString:"\"$location\\uninstall.exe\" /$mode" QuietUninstallString:"\"$location\\uninstall.exe\" /$mode /S"; do
    value=$(reg_value "$hive" "${name%%:*}")
    check "$hive ${name%%:*} is '$value', not '${name#*:}'" [ "$value" = "${name#*:}" ]
  done
  for name in Publisher DisplayIcon EstimatedSize; do
    check "$hive has no $name" [ -n "$(reg_value "$hive" "$name")" ]
  done
  check "$other has an entry too" [ -z "$(reg_value "$other" DisplayName)" ]

  echo "== uninstalled for $mode"
  echo "mine" >"$dir/mine.txt"
  # NSIS's uninstaller runs a copy of itself from %TEMP% and returns at once:
  # the server, which nothing keeps up now, quits when that copy has ended.
  local quiet
  quiet=$(reg_value "$hive" QuietUninstallString)
  "$wine_run" --stop-server
  (eval "set -- $quiet" && "$wine_run" "$@") || fail "the uninstaller failed: $quiet"
  WINEPREFIX=$prefix timeout 120 wineserver -w || fail "the uninstaller did not end within 120 s"
  "$wine_run" --restart-server
  left=$(cd "$dir" 2>/dev/null && find . -mindepth 1 | sort | tr '\n' ' ')
  check "the uninstaller left '$left' in the install folder, not only the user's mine.txt" [ "$left" = "./mine.txt " ]
  rm -rf "$dir"
  links=$(find "$menu" -maxdepth 1 -name '*.lnk' -printf '%f ' 2>/dev/null)
  check "the uninstaller left the links $links" [ -z "$links" ]
  check "the uninstaller left $hive\\$key" [ -z "$(reg_value "$hive" DisplayName)" ]
  # Its copy in %TEMP% is gone too; NSIS leaves the empty folder it ran from there.
  left=$(find "$prefix/drive_c" -ipath '*/temp/~nsu*' -type f -printf '%P ')
  check "the uninstaller left $left" [ -z "$left" ]
}

# A window under wine runs where /dev holds no serial device for wine to name
# (scripts/no_serial_devices.sh), on the offscreen platform, its --help printed
# rather than shown in a message box (by Qt's parser; wine then loses what it
# prints, the workbench's own printing aside). It exits before it opens a
# window, but only once Windows has loaded every DLL it imports.
run_window() {
  timeout 120 "$here/scripts/no_serial_devices.sh" "$wine_run" --session env WINEQT_QPA_PLATFORM=offscreen \
    WINEQT_COMMAND_LINE_PARSER_NO_GUI_MESSAGE_BOXES=1 "$wine_run" "$@"
}

# NSIS reads /D= to the end of the line, unquoted: the folder has no space, as wine would quote it.
round_trip CurrentUser HKCU HKLM 'C:\用户程序\Lumadot试装'
round_trip AllUsers HKLM HKCU
checks_done
