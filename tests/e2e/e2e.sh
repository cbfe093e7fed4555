#!/usr/bin/env bash
# End to end: the real program under Xvfb with evilwm. Reads the caption with
# xprop, looks at screenshots, presses F2, PageUp and Esc with xdotool, starts
# a second copy while one runs, and starts again after a SIGKILL.
#   e2e.sh path/to/plitar path/to/e2e_probe
set -uo pipefail
game=$1 probe=$2
for tool in Xvfb evilwm xdotool xprop xwininfo import; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null && wait "$p" 2>/dev/null; done
  [ -n "${KEEP:-}" ] && cp -r "$work" /tmp/e2e-kept; rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
  local tenths=$1; shift
  for ((i = 0; i < tenths; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# Xvfb picks a free display number itself and writes it to the pipe.
Xvfb -displayfd 4 -screen 0 1280x800x24 -nolisten tcp -noreset 4>"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
wait_for 100 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -1 "$work/display")"
evilwm >/dev/null 2>&1 &
pids+=($!)

windows() { xdotool search --onlyvisible --name '^Плитар' 2>/dev/null; }
one_window() { [ "$(windows | wc -l)" -eq 1 ]; }
title() { xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'; }
is_status() { [[ "$(title "$1")" =~ ^Плитар\ [0-9]+\ /\ 144\ /\ 144(\ Перемешано|\ Не\ перемешивается)?$ ]]; }
# The layout the screen shows (0 for none); the board lies right under the menu bar.
shown_layout() {
  local win=$1 x y h
  eval "$(xwininfo -id "$win" | awk '/Absolute upper-left X/{print "x="$4} /Absolute upper-left Y/{print "y="$4} /Height:/{print "h="$2}')"
  import -window root "$work/shot.png" 2>/dev/null || return 1
  "$probe" "$work/shot.png" "$x" $((y + h - 571))
}
layout_is() { [ "$(shown_layout "$1")" = "$2" ]; }
start_game() {
  "$game" >"$work/game$SECONDS.log" 2>&1 &
  game_pid=$!
  pids+=($game_pid)
  wait_for 150 eval 'one_window || ! kill -0 $game_pid 2>/dev/null'
  if ! one_window; then
    if [ "${1:-}" = first ] && ! kill -0 "$game_pid" 2>/dev/null && wait "$game_pid"; then
      echo "SKIP: another copy of the game already runs for this user"
      exit 77
    fi
    fail "no window appeared"
  fi
  win=$(windows)
}

# --- start: caption and picture
start_game first
wait_for 50 is_status "$win" || fail "caption '$(title "$win")'"
first=""
wait_for 50 eval 'first=$(shown_layout "$win"); [ "$first" != 0 ]' || fail "the screen shows no layout"
case $first in 1 | 2 | 4) ;; *) fail "started on layout $first" ;; esac
echo "started on layout $first: $(title "$win")"

# --- a second copy ends at once, without a window
start=$SECONDS
"$game" >"$work/second.log" 2>&1 &
second=$!
pids+=($second)
wait_for 50 eval '! kill -0 $second 2>/dev/null' || fail "the second copy still runs"
wait "$second"; status=$?
[ "$status" -eq 0 ] || fail "the second copy ended with $status"
one_window || fail "the second copy showed a window"
echo "second copy ended after $((SECONDS - start)) s"

# --- F2 deals the same layout anew
cp "$work/shot.png" "$work/before.png"
focus() { xdotool mousemove --window "$win" 2 300 && xdotool windowfocus --sync "$win"; }
focus
xdotool key F2
wait_for 50 eval 'layout_is "$win" "$first" && ! cmp -s "$work/shot.png" "$work/before.png"' \
  || fail "F2 did not deal layout $first anew"
is_status "$win" || fail "caption after F2 '$(title "$win")'"

# --- PageUp starts the next layout
xdotool key Prior
next=$((first + 1))
wait_for 50 layout_is "$win" "$next" || fail "PageUp did not start layout $next (shows $(shown_layout "$win"))"
is_status "$win" || fail "caption after PageUp '$(title "$win")'"
echo "PageUp: layout $next, $(title "$win")"

# --- Esc closes the window and ends the program
xdotool key Escape
wait_for 50 eval '! kill -0 $game_pid 2>/dev/null' || fail "Esc did not end the program"
wait "$game_pid"; status=$?
[ "$status" -eq 0 ] || fail "Esc: the program ended with $status"

# --- a copy killed with SIGKILL does not block the next start
start_game
kill -9 "$game_pid"
wait "$game_pid" 2>/dev/null
echo "killed the game with SIGKILL"
wait_for 50 eval '[ "$(windows | wc -l)" -eq 0 ]' || fail "the killed window stayed"
start_game
wait_for 50 is_status "$win" || fail "no game after a SIGKILL"
echo "PASS"
