# Sourced by the scripts that drive our windows under Xvfb (sh or bash).
#
#   xvfb_start WIDTHxHEIGHT   an X server on a display no other is using, DISPLAY
#                             set to it; its process in $xvfb. Needs $work, a
#                             folder of the script's own.
#   window_manager_start      openbox on it, for title bars and focus as a user
#                             gets them; its process in $wm.
#   wait_for_window TITLE WHAT [TENTHS]
#                             the first visible window whose title matches the
#                             pattern TITLE, in $window, within TENTHS tenths of
#                             a second (100); else says WHAT did not appear,
#                             with the program's $work/stderr, and fails.
#
# The caller's trap stops $xvfb and $wm.
# shellcheck shell=sh disable=SC2034,SC2154

xvfb=
wm=

xvfb_start() {
  # Xvfb picks a free display and writes its number to descriptor 5.
  # -noreset: else the server resets as each window closes and may refuse the next.
  Xvfb -displayfd 5 -screen 0 "${1}x24" -nolisten tcp -noreset 5>"$work/display" >/dev/null 2>&1 &
  xvfb=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  DISPLAY=":$(cat "$work/display")"
  export DISPLAY
  for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && return 0; sleep 0.1; done
  echo "Xvfb did not start" >&2
  return 1
}

window_manager_start() {
  openbox >/dev/null 2>&1 &
  wm=$!
  sleep 1
}

wait_for_window() {
  window=
  for _ in $(seq "${3:-100}"); do
    window=$(xdotool search --onlyvisible --name "$1" | head -n 1) && [ -n "$window" ] && return 0
    sleep 0.1
  done
  echo "$2 did not appear:" >&2
  cat "$work/stderr" >&2
  return 1
}
