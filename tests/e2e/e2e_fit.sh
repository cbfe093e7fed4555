#!/usr/bin/env bash
# End to end: the whole board stays in view. The real program under Xvfb,
# with the window manager evilwm or without one, and no session bus:
#  - on a 1600 × 1200 screen, every layout at the start size is wholly in
#    view after the PageUp steps that reach it;
#  - a window the player made larger keeps its size after a layout change;
#  - on a 1366 × 768 screen at 70 × 80 the window grows and stays on the
#    screen through all 46 layouts.
#   e2e_fit.sh path/to/plitar path/to/e2e_probe evilwm|bare
set -uo pipefail
game=$1 probe=$2 wm=$3

. "$(dirname "$0")/lib.sh"
e2e_isolate "$@"
e2e_need Xvfb xdotool xwininfo import
[ "$wm" = bare ] || e2e_need evilwm
e2e_workdir "fit-$wm"
work=$E2E_WORK
e2e_no_bus
export QT_QPA_PLATFORM=xcb
fail() { echo "FAIL ($wm): $*"; exit 1; }

# The window's client area on the screen: x y width height.
geometry() {
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2} /Height:/{h=$2} END{print x, y, w, h}'
}
screen_size() { xdpyinfo | awk '/dimensions:/ {print $2}' | tr x ' '; }

# Starts the game on a screen of $1 and waits for its window ($win) and the
# height of its menu bar ($bar: the client area is 571 high at first).
start() {
  e2e_xvfb "$1" || fail "Xvfb did not start"
  if [ "$wm" = evilwm ]; then
    evilwm -fn fixed >"$work/evilwm.log" 2>&1 &
    e2e_track $!
    wait_for 50 eval 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window' || fail "evilwm did not start"
  fi
  "$game" >"$work/game.log" 2>&1 &
  e2e_track $!
  wait_for 150 eval 'win=$(e2e_windows | head -1); [ -n "$win" ]' || fail "no window: $(cat "$work/game.log")"
  local x y w h
  read -r x y w h <<<"$(geometry "$win")"
  bar=$((h - 571))
  [ "$w" = 911 ] && [ "$bar" -gt 10 ] && [ "$bar" -lt 60 ] || fail "created at ${w}x$h"
  xdotool mousemove --window "$win" 450 300 && xdotool windowfocus --sync "$win"
}
# Whether layout $1 at size $2 is wholly in view now.
in_view() {
  local x y w h
  read -r x y w h <<<"$(geometry "$win")"
  import -window root "$work/shot.png" 2>/dev/null || return 1
  "$probe" inview "$work/shot.png" "$x" $((y + bar)) "$w" $((h - bar)) "$1" "$2" >"$work/inview" 2>&1
}
# The layout the window shows at the start size, from a screenshot.
shown_layout() {
  local x y w h
  read -r x y w h <<<"$(geometry "$win")"
  import -window root "$work/shot.png" 2>/dev/null || return 1
  "$probe" "$work/shot.png" "$x" $((y + bar))
}

# --- every layout at the start size, stepping with PageUp
start 1600x1200x24
layout=0 sizes=''
wait_for 50 eval 'layout=$(shown_layout); [ "$layout" != 0 ]' || fail "the screen shows no layout"
for ((k = 0; k < 46; k++)); do
  wait_for 30 in_view "$layout" 56 || fail "layout $layout at 56: $(cat "$work/inview")"
  read -r _ _ w h <<<"$(geometry "$win")"
  sizes+=" $layout:${w}x$((h - bar))"
  xdotool key Prior
  layout=$((layout % 46 + 1))
done
echo "every layout wholly in view at 56 x 64; client areas:$sizes"

# --- a window made larger by the player keeps its size
xdotool windowsize --sync "$win" 1300 900 || fail "could not resize the window"
read -r _ _ w0 h0 <<<"$(geometry "$win")"
xdotool key Next
layout=$(( (layout + 44) % 46 + 1 ))
wait_for 30 in_view "$layout" 56 || fail "layout $layout after the resize: $(cat "$work/inview")"
sleep 0.3
read -r _ _ w1 h1 <<<"$(geometry "$win")"
[ "${w1}x$h1" = "${w0}x$h0" ] || fail "the window went from ${w0}x$h0 to ${w1}x$h1"
echo "a window made ${w0}x$h0 keeps its size after PageDown"
e2e_cleanup
E2E_PIDS=()
e2e_workdir "fit-$wm-small"
work=$E2E_WORK

# --- at 70 x 80 on a small screen, through the menu: "Игра" opened, Right to
# "Настройки" (its first item marked), then three down ("Размер костей 70х80")
start 1366x768x24
read -r sw sh <<<"$(screen_size)"
read -r x y w h <<<"$(geometry "$win")"
xdotool mousemove $((x + 20)) $((y + bar / 2)) click 1
sleep 0.3
xdotool key Right Down Down Down Return
wait_for 30 eval 'read -r x y w h <<<"$(geometry "$win")"; [ "$w" -gt 911 ] || [ $((h - bar)) -gt 571 ]' ||
  fail "the window did not grow at 70 x 80 (${w}x$h)"
for ((k = 0; k < 46; k++)); do
  sleep 0.2
  read -r x y w h <<<"$(geometry "$win")"
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + w)) -le "$sw" ] && [ $((y + h)) -le "$sh" ] ||
    fail "step $k: the window at $x,$y ${w}x$h left the ${sw}x$sh screen"
  xdotool key Prior
done
echo "at 70 x 80 the window stays on the ${sw}x$sh screen through all 46 layouts (last ${w}x$h at $x,$y)"
echo PASS
