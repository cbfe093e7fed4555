#!/usr/bin/env bash
# End to end on a screen scaled to 200 %: the real program under Xvfb with
# QT_SCALE_FACTOR=2, without a window manager or session bus. A screenshot of
# its window must show the tiles as the pictures made for ratio 2, pixel for
# pixel: the side's lines twice as wide and the faces drawn sharp at twice the
# size (e2e_scaled_check).
#   e2e_scaled.sh path/to/plitar path/to/e2e_scaled_check
set -uo pipefail
game=$1 check=$2

# A network namespace of its own, so that the game's single-instance name and
# the X server's socket never meet another copy's on this machine.
if [ -z "${PLITAR_E2E_INSIDE:-}" ]; then
  export PLITAR_E2E_INSIDE=1
  if unshare -n true 2>/dev/null; then
    exec unshare -n bash "$0" "$@"
  elif unshare -rn true 2>/dev/null; then
    exec unshare -rn bash "$0" "$@"
  fi
  echo "note: no network namespace of its own; a copy of the game running here may disturb the test"
fi
for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit 77; }
done

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill -9 "$p" 2>/dev/null && wait "$p" 2>/dev/null; done
  [ -n "${KEEP:-}" ] && cp -r "$work" /tmp/e2e-scaled-kept
  rm -rf "$work"
}
trap cleanup EXIT
wait_for() {
  local tenths=$1; shift
  for ((i = 0; i < tenths; i++)); do "$@" && return 0; sleep 0.1; done
  return 1
}

Xvfb -displayfd 4 -screen 0 2560x1600x24 -nolisten tcp -noreset 4>"$work/display" 2>/dev/null &
pids+=($!)
wait_for 100 test -s "$work/display" || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=":$(head -1 "$work/display")"
export QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=2
mkdir -m 700 "$work/run"
export XDG_RUNTIME_DIR=$work/run DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus-here"

"$game" >"$work/game.log" 2>&1 &
pids+=($!)
wait_for 150 eval 'win=$(xdotool search --onlyvisible --name "^Плитар " 2>/dev/null | head -1); [ -n "$win" ]' ||
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
