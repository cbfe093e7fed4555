#!/usr/bin/env bash
# End to end: the real program under Xvfb, with the window manager evilwm or
# without one, with a session bus of its own or without a bus. Reads the
# caption with xprop, looks at screenshots, clicks the menus and presses keys
# with xdotool, starts a second copy while one runs (covered, and iconified),
# and starts again after a SIGKILL. The faults of the single-copy guard have
# a test of their own (guard.sh).
#   e2e.sh path/to/plitar path/to/e2e_probe evilwm|bare bus|nobus
set -uo pipefail
game=$1 probe=$2 wm=$3 bus=$4

# A network namespace of its own, then a session bus of its own or none.
. "$(dirname "$0")/lib.sh"
e2e_isolate "$@"
[ "$bus" = bus ] && e2e_session_bus "$@"

e2e_need Xvfb xdotool xprop xwininfo xev import compare
[ "$wm" = bare ] || e2e_need evilwm

e2e_workdir "$wm-$bus"
work=$E2E_WORK
fail() { echo "FAIL ($wm, $bus): $*"; exit 1; }

# The program runs on X whatever the environment asks for.
export QT_QPA_PLATFORM=xcb
[ "$bus" = nobus ] && e2e_no_bus

# Xvfb's built-in fonts are all evilwm needs.
e2e_xvfb 1280x800x24 -fp built-ins || fail "Xvfb did not start"
if [ "$wm" = evilwm ]; then
  evilwm -fn fixed >"$work/evilwm.log" 2>&1 &
  e2e_track $!
  wait_for 50 eval 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window' || fail "evilwm did not start"
fi

one_window() { [ "$(e2e_windows | wc -l)" -eq 1 ]; }
is_status() { [[ "$(e2e_caption "$1")" =~ ^Плитар\ [0-9]+\ /\ 144\ /\ 144(\ Перемешано|\ Не\ перемешивается)?$ ]]; }
# The window's client area on the screen: x y width height.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}
# The layout the screen shows (0 for none, also while something covers the
# board); the board lies right under the menu bar, $bar high.
shown_layout() {
  local x y w h
  read -r x y w h <<<"$(geometry "$1")"
  import -window root "$work/shot.png" 2>/dev/null || return 1
  "$probe" "$work/shot.png" "$x" $((y + bar))
}
layout_is() { [ "$(shown_layout "$1")" = "$2" ]; }
# A picture of the menu bar alone.
menu_bar() {
  local x y w h
  read -r x y w h <<<"$(geometry "$1")"
  import -window root -crop "${w}x$bar+$x+$y" +repage "$2" 2>/dev/null
}
alive() { kill -0 "$game_pid" 2>/dev/null; }
start_game() {
  "$game" "$@" >"$work/game$SECONDS.log" 2>&1 &
  game_pid=$!
  e2e_track $game_pid
  wait_for 150 eval 'one_window || ! alive'
  if ! one_window; then
    if ! alive && wait "$game_pid"; then
      echo "SKIP: another copy of the game already runs for this user"
      exit 77
    fi
    fail "no window appeared"
  fi
  win=$(e2e_windows)
  # The menu bar's height: the client area is 911 x 571 at first (the window
  # grows later for layouts that do not fit it).
  local h
  read -r _ _ _ h <<<"$(geometry "$win")"
  bar=$((h - 571))
  wait_for 50 is_status "$win" || fail "caption '$(e2e_caption "$win")'"
  layout=0
  wait_for 50 eval 'layout=$(shown_layout "$win"); [ "$layout" != 0 ]' || fail "the screen shows no layout"
}
focus() { xdotool mousemove --window "$win" 450 300 && xdotool windowfocus --sync "$win"; }
# Waits for the game to end and checks its status.
ended() {
  wait_for 50 eval '! alive' || fail "$1: the program still runs"
  wait "$game_pid"; local status=$?
  [ "$status" -eq 0 ] || fail "$1: the program ended with $status"
}
# The layout after $1 in the catalog (+1) or before it (-1).
step() { echo $(( ($1 + $2 + 45) % 46 + 1 )); }
click_menu() {
  local x y w h
  read -r x y w h <<<"$(geometry "$win")"
  xdotool mousemove $((x + 20)) $((y + bar / 2)) click 1
  wait_for 30 eval '! layout_is "$win" "$layout"' || fail "the menu did not open"
  xdotool mousemove $((x + 450)) $((y + h - 300))
}
# The running window is on top, whole, and the active window.
in_front() {
  layout_is "$win" "$layout" || return 1
  if [ "$wm" = evilwm ]; then
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$win" ]
  else
    [ "$(xdotool getwindowfocus 2>/dev/null)" = "$win" ]
  fi
}
# Starts a second copy, with the environment changes given after the label.
second_start() {
  local label=$1 start=$SECONDS
  shift
  env "$@" "$game" >"$work/second.log" 2>&1 &
  local second=$!
  e2e_track $second
  wait_for 50 eval '! kill -0 $second 2>/dev/null' || fail "$label: the second copy still runs"
  wait "$second"; local status=$?
  [ "$status" -eq 0 ] || fail "$label: the second copy ended with $status"
  wait_for 50 in_front || fail "$label: the first window did not come forward (shows $(shown_layout "$win"), active $(xdotool getactivewindow 2>/dev/null), focus $(xdotool getwindowfocus 2>/dev/null), window $win)"
  one_window || fail "$label: a second window is on the screen"
  echo "$label: the second copy ended after $((SECONDS - start)) s, the first window came forward"
}

# --- Qt's own options change nothing: the window looks as without them
start_game -reverse -style windows -platform offscreen
case $layout in 1 | 2 | 4) ;; *) fail "started on layout $layout" ;; esac
echo "started with Qt's options on layout $layout: $(e2e_caption "$win")"
menu_bar "$win" "$work/bar-options.png"
focus
xdotool key Escape
ended "Esc"
start_game
menu_bar "$win" "$work/bar-plain.png"
compare -metric AE "$work/bar-options.png" "$work/bar-plain.png" null: 2>"$work/bar-diff" \
  || fail "the menu bar differs with Qt's options: $(cat "$work/bar-diff") pixels"

# --- F2 deals the same layout anew
focus
cp "$work/shot.png" "$work/before.png"
xdotool key F2
wait_for 50 eval 'layout_is "$win" "$layout" && ! cmp -s "$work/shot.png" "$work/before.png"' \
  || fail "F2 did not deal layout $layout anew"

# --- a menu closed with Esc; then PageUp; Alt tapped, then PageDown
click_menu
xdotool key Escape
wait_for 30 layout_is "$win" "$layout" || fail "Esc did not close the menu"
alive || fail "Esc in the menu ended the program"
xdotool key Prior
layout=$(step "$layout" 1)
wait_for 50 layout_is "$win" "$layout" || fail "PageUp after a menu closed with Esc: shows $(shown_layout "$win"), not $layout"
xdotool key alt
xdotool key Next
layout=$(step "$layout" -1)
wait_for 50 layout_is "$win" "$layout" || fail "PageDown after Alt: shows $(shown_layout "$win"), not $layout"
echo "PageUp and PageDown after the menus: layout $layout, $(e2e_caption "$win")"
# --- a menu closed with Esc, then Esc ends the program
click_menu
xdotool key Escape
wait_for 30 layout_is "$win" "$layout" || fail "Esc did not close the menu"
alive || fail "Esc in the menu ended the program"
xdotool key Escape
ended "Esc after a menu closed with Esc"
# --- Alt tapped, then Esc ends the program
start_game
focus
xdotool key alt
sleep 0.2
xdotool key Escape
ended "Esc after Alt"
echo "Esc after a menu and after Alt ended the program"

# --- a second start brings the covered window forward
start_game
xev -geometry 1280x800+0+0 >/dev/null 2>&1 &
e2e_track $!
cover() {
  local id
  id=$(xdotool search --onlyvisible --name '^Event Tester' | head -1)
  xdotool windowraise "$id" windowfocus "$id"
  wait_for 50 eval '[ "$(shown_layout "$win")" = 0 ]' || fail "the covering window did not cover the game"
}
wait_for 50 eval 'xdotool search --onlyvisible --name "^Event Tester" >/dev/null' || fail "no covering window"
cover
second_start "covered"
if [ "$bus" = bus ]; then
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.GetNameOwner string:io.github.plitar.Plitar >/dev/null \
    || fail "the game does not own its name on the session bus"
  # A copy started without the bus finds the running one all the same.
  cover
  second_start "covered, the second copy without a bus" DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus-here"
fi
# --- and the iconified one. evilwm has no iconified state, so without a
# window manager the test hides the window as a window manager does.
if [ "$wm" = bare ]; then
  "$probe" iconify "$win" || fail "could not iconify the window"
  wait_for 30 eval '! xwininfo -id "$win" | grep -q IsViewable' || fail "the window stayed on the screen"
  second_start "iconified"
fi

# --- a copy killed with SIGKILL does not block the next start
kill -9 "$game_pid"
wait "$game_pid" 2>/dev/null
wait_for 50 eval '[ "$(e2e_windows | wc -l)" -eq 0 ]' || fail "the killed window stayed"
echo "killed the game with SIGKILL"

start_game
focus
second_start "after a SIGKILL"
xdotool key Escape
ended "Esc"
echo "PASS ($wm, $bus)"
