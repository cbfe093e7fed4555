#!/usr/bin/env bash
# Takes the README's screenshot: the real game under Xvfb with evilwm, stepped
# to "Черепаха" with the page keys, the first tile of its top row selected.
# With a scale, e.g. 2, the game runs with QT_SCALE_FACTOR=2 on a screen of
# twice the size, as on a desktop scaled to 200 %.
#   screenshot.sh path/to/plitar path/to/e2e_probe out.png [scale]
set -euo pipefail
game=$1 probe=$2 out=$3 scale=${4:-1}
# A namespace, runtime folder and no bus of its own, so that a game the
# developer is playing does not take this copy for a second start.
. "$(dirname "$0")/../../tests/e2e/lib.sh"
e2e_isolate "$@"
e2e_need Xvfb evilwm xdotool xwininfo xprop import convert
e2e_workdir screenshot
work=$E2E_WORK
e2e_no_bus
e2e_xvfb $((1280 * scale))x$((800 * scale))x24 || { echo "Xvfb did not start" >&2; exit 1; }
evilwm >/dev/null 2>&1 &
e2e_track $!
[ "$scale" = 1 ] || export QT_SCALE_FACTOR=$scale
"$game" >/dev/null 2>&1 &
e2e_track $!
wait_for 150 eval 'win=$(e2e_windows)'
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
e2e_caption "$win"
