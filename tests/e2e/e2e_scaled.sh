#!/usr/bin/env bash
# End to end on a screen scaled to 200 %: the real program under Xvfb with
# QT_SCALE_FACTOR=2, without a window manager or session bus. A screenshot of
# its window must show the tiles as the pictures made for ratio 2, pixel for
# pixel: the side's lines twice as wide and the faces drawn sharp at twice the
# size (e2e_scaled_check).
#   e2e_scaled.sh path/to/plitar path/to/e2e_scaled_check
set -uo pipefail
game=$1 check=$2

. "$(dirname "$0")/lib.sh"
e2e_isolate "$@"
e2e_need Xvfb xdotool import
e2e_workdir scaled
work=$E2E_WORK
e2e_xvfb 2560x1600x24 || { echo "FAIL: Xvfb did not start"; exit 1; }
export QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2
e2e_no_bus

"$game" >"$work/game.log" 2>&1 &
e2e_track $!
wait_for 150 eval 'win=$(e2e_windows | head -1); [ -n "$win" ]' ||
  { echo "FAIL: no window"; cat "$work/game.log"; exit 1; }
# 911 x 590 logical pixels with the menu bar, twice that on the screen.
geometry=$(xdotool getwindowgeometry "$win" | awk '/Geometry/ {print $2}')
echo "window $geometry"
width=${geometry%x*}
[ "$width" -ge 1800 ] || { echo "FAIL: the window is $geometry, not scaled"; exit 1; }
# The first frame may still be on its way: look again for a while.
for ((try = 0; try < 30; try++)); do
  if import -window "$win" "$work/shot.png" 2>/dev/null && "$check" "$work/shot.png" >"$work/out" 2>&1; then
    cat "$work/out"
    echo "PASS"
    exit 0
  fi
  sleep 0.2
done
cat "$work/out"
echo "FAIL: the tiles are not the pictures of ratio 2"
exit 1
