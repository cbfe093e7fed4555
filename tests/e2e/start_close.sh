#!/usr/bin/env bash
# Starts a program of the game (e.g. the installed one) on a virtual display,
# checks that its window shows the caption of a fresh deal, closes it with
# Esc and checks that it ended with status 0. Runs in a network namespace of
# its own, with a session bus of its own where dbus-run-session exists, so a
# copy running elsewhere on this machine cannot make this one end at once.
#   start_close.sh path/to/plitar
set -uo pipefail
program=$1
. "$(dirname "$0")/lib.sh"
e2e_isolate "$@"
command -v dbus-run-session >/dev/null && e2e_session_bus "$@"
e2e_need Xvfb xdotool xprop
e2e_workdir start-close
work=$E2E_WORK
fail() { echo "FAIL: $*"; [ -s "$work/game.log" ] && cat "$work/game.log"; exit 1; }
alive() { kill -0 "$game_pid" 2>/dev/null; }

e2e_xvfb 1280x800x24 || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
"$program" >"$work/game.log" 2>&1 &
game_pid=$!
e2e_track "$game_pid"
wait_for 200 eval 'window=$(e2e_windows | head -1); [ -n "$window" ] || ! alive'
[ -n "$window" ] || { alive && fail "no window named Плитар within 20 s"; fail "the game ended before showing a window"; }
fresh() { [[ $(e2e_caption "$window") =~ ^Плитар\ [0-9]+\ /\ 144\ /\ 144 ]]; }
wait_for 50 fresh || fail "the caption is not 'Плитар N / 144 / 144': \"$(e2e_caption "$window")\""
echo "caption \"$(e2e_caption "$window")\""

# Esc closes the game while its option is on, which it is at every start.
xdotool windowfocus --sync "$window" key Escape 2>/dev/null || xdotool key --window "$window" Escape
wait_for 100 eval '! alive' || fail "the game did not close on Escape"
wait "$game_pid"; status=$?
[ "$status" -eq 0 ] || fail "the game ended with status $status"
echo "closed with Esc, status 0"
