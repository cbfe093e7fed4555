#!/bin/sh
# Start-up time and peak memory of the game beside the floor (the least Qt
# window with a menu bar), both started the same way under a fresh Xvfb and
# timed from outside until their first frame is on the screen.
#   tools/perf/startup.sh [BUILD-DIR] [RUNS] [SCALE]
# SCALE, a device pixel ratio such as 2, is given to both programs as
# QT_SCALE_FACTOR (on a larger virtual screen). Prints every run, then the
# medians and the ratios to the floor: to the board colour on the screen, in
# processor time (until the program is ended once its frame was seen, and up
# to the frame itself), and (where the watcher has the Damage extension) to
# the first damage after mapping.
set -eu
build=${1:-build}
runs=${2:-11}
scale=${3:-1}
watch=$build/tools/perf/perf_firstframe
game=$build/app/plitar
floor=$build/tools/perf/perf_floor
for f in "$watch" "$game" "$floor"; do
    [ -x "$f" ] || { echo "missing $f: build the targets plitar perf_floor perf_firstframe" >&2; exit 2; }
done

display=:$((90 + $$ % 100))
screen=1280x1024x24
if [ "$scale" != 1 ]; then
    screen=2880x1800x24
    export QT_SCALE_FACTOR=$scale
fi
Xvfb "$display" -screen 0 $screen -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT INT TERM
export DISPLAY=$display
i=0
until xdpyinfo >/dev/null 2>&1; do
    i=$((i + 1)); [ $i -lt 100 ] || { echo "Xvfb did not start" >&2; exit 2; }
    sleep 0.05
done

out=$(mktemp)
measure() {  # name title-prefix program
    # Another copy of the game (for instance the end-to-end test) makes the
    # game end at once; wait and try again.
    for try in 1 2 3 4 5 6 7 8 9 10; do
        if r=$("$watch" "$2" -- "$3" 2>/dev/null); then
            echo "$1 $r" | tee -a "$out"
            return
        fi
        sleep 1
    done
    echo "$1 failed" >&2
}
# One warm-up of each (the first start reads the libraries from disk), then
# the two alternate so that both see the same machine.
"$watch" 'Floor' -- "$floor" >/dev/null 2>&1 || true
"$watch" 'Плитар ' -- "$game" >/dev/null 2>&1 || true
n=0
while [ $n -lt "$runs" ]; do
    measure floor 'Floor' "$floor"
    measure game 'Плитар ' "$game"
    n=$((n + 1))
done

median() {  # name field
    grep "^$1 " "$out" | sed "s/.* $2=\([0-9.]*\).*/\1/" | sort -n |
        awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'
}
frss=$(median floor maxrss_kb); grss=$(median game maxrss_kb)
# The targets: start-up within 1.1 x the floor on a plain screen (1.15 x to the
# first damage) and 1.3 x on a scaled one; memory within the floor + 10 MB,
# + 40 MB when scaled.
if [ "$scale" = 1 ]; then time_target=1.1 damage_target=1.15 memory_target=10; else time_target=1.3 damage_target=1.3 memory_target=40; fi
# Prints the medians of field $2 for floor and game and their ratio, with the
# target $3, after the words $1.
compare() {
    f=$(median floor "$2"); g=$(median game "$2")
    echo "scale $scale, median $1: floor $f ms, game $g ms, ratio $(echo "$g $f" | awk '{printf "%.2f", $1/$2}') (target <= $3)"
}
compare start-up ms "$time_target"
compare "processor time until ended after the first frame" cpu_ms "$time_target"
compare "processor time to the first frame on the screen" frame_cpu_ms "$time_target"
if grep -q "^game .*damage_ms=" "$out"; then
    compare "first damage after mapping" damage_ms "$damage_target"
fi
echo "scale $scale, median peak RSS: floor $frss KB, game $grss KB, difference $(echo "$grss $frss" | awk '{printf "%.1f", ($1-$2)/1024}') MB (target <= $memory_target)"
rm -f "$out"
