#!/bin/sh
# Starts our own windows under Xvfb in each locale and checks the title each
# shows: English under an English locale, Chinese under a Chinese one and C;
# and that a failure's message box speaks the window's language too.
#   scripts/window_languages.sh [BIN_DIR]
# Needs xvfb and xdotool.
set -eu
# Blind to the caller's LUMADOT_* variables: each run below sets what it needs.
for variable in $(env | sed -n 's/^\(LUMADOT_[A-Za-z0-9_]*\)=.*/\1/p'); do unset "$variable"; done

bin_dir=${1:-build/bin}
work=$(mktemp -d)
# shellcheck source=scripts/xvfb_session.sh
. "$(dirname "$0")/xvfb_session.sh"
app=
trap 'kill $app $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT INT TERM
xvfb_start 1024x768
export XDG_CONFIG_HOME="$work/config"

# program, locale, title
check() {
  env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG="$2" "$bin_dir/$1" 2>"$work/stderr" &
  app=$!
  title=
  for _ in $(seq 100); do
    for window in $(xdotool search --onlyvisible --pid "$app" 2>/dev/null); do
      title=$(xdotool getwindowname "$window")
      [ -n "$title" ] && break 2
    done
    sleep 0.1
  done
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  app=
  if [ "$title" != "$3" ]; then
    echo "$1 under LANG=$2 showed \"$title\", not \"$3\"" >&2
    cat "$work/stderr" >&2
    exit 1
  fi
  echo "$1 under LANG=$2: \"$title\""
}

# program, locale, the title of the warning a click at (x, y) brings, x, y.
# com1 leads nowhere, so a start that opens it fails; no real port is touched.
check_warning() {
  env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG="$2" LUMADOT_COM1=/nonexistent/lumadot-port "$bin_dir/$1" \
    2>"$work/stderr" &
  app=$!
  main=
  for _ in $(seq 100); do
    main=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | head -n 1) && [ -n "$main" ] && break
    sleep 0.1
  done
  [ -n "$main" ] && xdotool mousemove --window "$main" "$4" "$5" click 1
  titles=
  for _ in $(seq 100); do
    titles=$(for window in $(xdotool search --onlyvisible --pid "$app" 2>/dev/null); do
      xdotool getwindowname "$window"
    done)
    printf '%s\n' "$titles" | grep -qxF "$3" && break
    sleep 0.1
  done
  kill "$app" 2>/dev/null || true
  wait "$app" 2>/dev/null || true
  app=
  if ! printf '%s\n' "$titles" | grep -qxF "$3"; then
    echo "$1 under LANG=$2 warned under \"$(printf '%s' "$titles" | tr '\n' '|')\", not \"$3\"" >&2
    cat "$work/stderr" >&2
    exit 1
  fi
  echo "$1 under LANG=$2 warns: \"$3\""
}

check lumadot-workbench en_US.UTF-8 'Lumadot Glyph Workbench'
check lumadot-workbench zh_CN.UTF-8 'Lumadot 取模工作台'
check lumadot-workbench C 'Lumadot 取模工作台'
check lumadot-sign en_US.UTF-8 'LED sign simulator'
check lumadot-sign zh_CN.UTF-8 'LED 屏模拟'
check lumadot-sign C 'LED 屏模拟'
# "开始接收" (Start listening), at (8, 240) and 105 x 25 in the window
check_warning lumadot-sign en_US.UTF-8 'Warning' 60 252
check_warning lumadot-sign zh_CN.UTF-8 '警告' 60 252
