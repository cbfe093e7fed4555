#!/usr/bin/env bash
# End to end under X with the window manager evilwm, with a session bus of
# its own or without a bus: a start from a launcher completes the launcher's
# startup notification (the "remove" message on the root window), the first
# start for its own startup id and a second start through the running copy,
# which also asks for its activation with the time the startup id carries.
#   e2e_startup.sh path/to/plitar path/to/e2e_startup_watch bus|nobus
set -uo pipefail
game=$1 watch=$2 bus=$3
. "$(dirname "$0")/lib.sh"
e2e_isolate "$@"
[ "$bus" = bus ] && e2e_session_bus "$@"
e2e_need Xvfb evilwm xprop xdotool
e2e_workdir "startup-$bus"
[ "$bus" = nobus ] && e2e_no_bus
fail() { echo "FAIL (startup, $bus): $*"; for f in "$E2E_WORK"/*.log "$E2E_WORK/messages"; do echo "--- $f"; tail -n 5 "$f"; done; exit 1; }

export QT_QPA_PLATFORM=xcb
unset DESKTOP_STARTUP_ID XDG_ACTIVATION_TOKEN
e2e_xvfb 1280x800x24 -fp built-ins || fail "Xvfb did not start"
evilwm -fn fixed >"$E2E_WORK/evilwm.log" 2>&1 &
e2e_track $!
wait_for 50 eval 'xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q window' || fail "evilwm did not start"
"$watch" >"$E2E_WORK/messages" 2>&1 &
e2e_track $!
wait_for 50 grep -q '^ready' "$E2E_WORK/messages" || fail "the watcher did not start"

now() { date +%s%N; }
ms_since() { echo $((($(now) - $1) / 1000000)); }
said() { grep -qxF "$1" "$E2E_WORK/messages"; }
removes() { grep -c '^info remove:' "$E2E_WORK/messages"; }

# The first start, as a launcher starts it.
start=$(now)
DESKTOP_STARTUP_ID=launcher-1_TIME1000 "$game" >"$E2E_WORK/game.log" 2>&1 &
game_pid=$!
e2e_track $game_pid
wait_for 100 eval '[ "$(e2e_windows | wc -l)" -eq 1 ]' || fail "the first window did not appear"
window=$(e2e_windows)
wait_for 50 said 'info remove: ID=launcher-1_TIME1000' || fail "the first start left its startup notification open"
echo "first start: the window and the end of its startup notification after $(ms_since "$start") ms"
xprop -id "$window" _NET_STARTUP_ID | grep -qF '"launcher-1_TIME1000"' || fail "the window does not name the start it came from"

# Second starts: one with a startup id whose text needs escaping, one without.
id='launcher 2 "x"\y_TIME2000'
escaped='launcher\ 2\ \"x\"\\y_TIME2000'
start=$(now)
DESKTOP_STARTUP_ID=$id timeout 5 "$game" >"$E2E_WORK/second.log" 2>&1
status=$?
[ $status -eq 0 ] || fail "a second start ended with status $status"
echo "second start with a startup id: ended with 0 after $(ms_since "$start") ms"
wait_for 50 said "info remove: ID=$escaped" || fail "a second start left its startup notification open"
wait_for 50 said 'active 2 2000' || fail "the running copy did not ask for activation with the launcher's time"
echo "its startup notification ended and the activation asked for with its time $(ms_since "$start") ms after the start"

before=$(removes)
timeout 5 "$game" >"$E2E_WORK/second.log" 2>&1 || fail "a second start without a startup id ended with status $?"
wait_for 50 said 'active 2 0' || fail "a second start without a startup id did not bring the window forward"
[ "$(removes)" -eq "$before" ] || fail "a start without a startup id sent a startup message"

kill -0 $game_pid 2>/dev/null || fail "the running copy ended"
[ "$(e2e_windows | wc -l)" -eq 1 ] || fail "$(e2e_windows | wc -l) windows of the game at the end"
echo "PASS (startup, $bus)"
