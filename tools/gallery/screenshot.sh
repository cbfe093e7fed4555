#!/usr/bin/env bash
# Takes the README's screenshot: the real game under Xvfb with evilwm, stepped
# to "Черепаха" with the page keys, the first tile of its top row selected.
# With a scale, e.g. 2, the game runs with QT_SCALE_FACTOR=2 on a screen of
# twice the size, as on a desktop scaled to 200 %.
#   screenshot.sh path/to/plitar path/to/e2e_probe out.png [scale]
set -euo pipefail
game=$1 probe=$2 out=$3 scale=${4:-1}
work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null && wait "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
wait_for() {
  local tenths=$1; shift
  for ((i = 0; i < tenths; i++)); do "$@" && return 0; sleep 0.1; done
  return 1
}

Xvfb -displayfd 4 -screen 0 $((1280 * scale))x$((800 * scale))x24 -nolisten tcp -noreset 4>"$work/display" 2>/dev/null &
pids+=($!)
wait_for 100 test -s "$work/display"
export DISPLAY=":$(head -1 "$work/display")"
evilwm >/dev/null 2>&1 &
pids+=($!)
[ "$scale" = 1 ] || export QT_SCALE_FACTOR=$scale
"$game" >/dev/null 2>&1 &
pids+=($!)
wait_for 150 eval 'win=$(xdotool search --onlyvisible --name "^Плитар" 2>/dev/null)'
eval "$(xwininfo -id "$win" | awk '/Absolute upper-left X/{print "x="$4} /Absolute upper-left Y/{print "y="$4} /Height:/{print "h="$2}')"
top=$((h - 571 * scale))  # the menu bar above the board, in screen pixels
# The probe reads a board at scale 1: the board cut out and every scale-th pixel kept.
shown() {
  import -window root "$work/shot.png" &&
    convert "$work/shot.png" -crop $((911 * scale))x$((571 * scale))+$x+$((y + top)) +repage -sample $((100 / scale))% "$work/board.png" &&
    "$probe" "$work/board.png" 0 0
}
wait_for 50 eval 'layout=$(shown); [ "$layout" != 0 ]'
xdotool mousemove --window "$win" 2 $((300 * scale))
xdotool windowfocus --sync "$win"
for ((k = layout; k > 1; k--)); do xdotool key Next; done
wait_for 50 eval '[ "$(shown)" = 1 ]'
# The first tile of the top row: cell (3, 1, 1) at tile size 56 is free.
xdotool mousemove --window "$win" $(((6 + 2 * 29 + 28) * scale)) $((top + (15 + 32) * scale)) click 1
xdotool mousemove --window "$win" 2 $((top + 560 * scale))
sleep 0.3
import -window "$win" "$out"
echo "$(xprop -id "$win" _NET_WM_NAME)"
