#!/usr/bin/env bash
# End to end natively on Wayland (QT_QPA_PLATFORM=wayland) under a headless
# compositor, with a session bus of the user's own or without a bus:
#  - sway: the launcher (a small client of the test's own) holds the focus
#    and gets a token for a key press on it, as a launcher does; a second start
#    carrying that token brings the running window forward and ends at once
#    with status 0 without a window of its own; a token the compositor never
#    issued moves nothing; without a token the window asks for attention
#    (sway marks it urgent where it does not hand over the focus itself).
#  - weston 10, which offers no activation protocol: a second start still
#    ends with status 0 without a window, and the running copy goes on.
#  - mutter (GNOME's compositor), which offers no virtual keyboards: the key
#    the launcher's token is asked with comes through mutter's own
#    remote-desktop session on its bus (mutter needs a bus even where the game
#    has none); a token for that key brings the running window forward, one
#    mutter never issued moves nothing; without a token the focus stays and
#    the running copy asks for attention with a token of its own. Mutter has
#    no way to list windows from outside: the launcher says whether it lost
#    the keyboard focus, and the game's protocol log when the game got it.
#    Where mutter cannot start here the test is skipped.
# The compositors refuse to run as root, so when the test runs as root they
# and everything that talks to them run as the user nobody, which every
# Debian system has (a session bus needs a user in the password database),
# with a runtime folder of its own here.
#   e2e_wayland.sh path/to/plitar path/to/e2e_wayland_launcher sway|weston|mutter bus|nobus
set -uo pipefail
game=$1 launcher=$2 compositor=$3 bus=$4
here=$(cd "$(dirname "$0")" && pwd)
. "$here/lib.sh"
e2e_isolate "$@"
e2e_need "$compositor" python3
if [ "$bus" = bus ] || [ "$compositor" = mutter ]; then e2e_need dbus-daemon; fi
if [ "$compositor" = mutter ]; then
  /usr/bin/python3 -c 'from gi.repository import Gio' 2>/dev/null || { echo "SKIP: python3-gi is missing"; exit "$E2E_SKIP"; }
fi
e2e_workdir "wayland-$compositor-$bus"
fail() { echo "FAIL ($compositor, $bus): $*"; for f in "$run"/*.log; do echo "--- $f"; tail -20 "$f"; done; exit 1; }
run=$XDG_RUNTIME_DIR

# The user everything runs as: this one, or nobody when this is root.
as_user=()
if [ "$(id -u)" -eq 0 ]; then
  e2e_need setpriv
  uid=$(id -u nobody) gid=$(id -g nobody) || { echo "SKIP: no user nobody"; exit "$E2E_SKIP"; }
  chown "$uid:$gid" "$run"
  as_user=(setpriv "--reuid=$uid" "--regid=$gid" --clear-groups)
fi
export HOME=$run
unset WAYLAND_DISPLAY DISPLAY DESKTOP_STARTUP_ID XDG_ACTIVATION_TOKEN
export QT_QPA_PLATFORM=wayland

# Starts a session bus at $run/$1.
start_bus() {
  "${as_user[@]}" dbus-daemon --session --address="unix:path=$run/$1" --nofork --nopidfile >"$run/$1.log" 2>&1 &
  e2e_track $!
  wait_for 50 test -S "$run/$1" || fail "the session bus did not start"
}
if [ "$bus" = bus ]; then
  start_bus bus
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$run/bus"
else
  e2e_no_bus
fi
# Mutter's bus: the game's, or one of mutter's own where the game has none.
if [ "$compositor" = mutter ]; then
  if [ "$bus" = bus ]; then
    mutter_bus=$DBUS_SESSION_BUS_ADDRESS
  else
    start_bus mutter-bus
    mutter_bus="unix:path=$run/mutter-bus"
  fi
fi

# --- the compositor --------------------------------------------------------
if [ "$compositor" = sway ]; then
  # A desktop's setting: an activation with a valid token takes the focus
  # where the window can be seen; sway's default only marks it urgent.
  printf '%s\n' 'xwayland disable' 'focus_on_window_activation smart' >"$E2E_WORK/sway.conf"
  chmod 644 "$E2E_WORK/sway.conf"
  WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    "${as_user[@]}" sway -c "$E2E_WORK/sway.conf" >"$run/compositor.log" 2>&1 &
elif [ "$compositor" = weston ]; then
  "${as_user[@]}" weston --backend=headless-backend.so --socket=wayland-1 --idle-time=0 >"$run/compositor.log" 2>&1 &
else
  DBUS_SESSION_BUS_ADDRESS=$mutter_bus "${as_user[@]}" \
    mutter --headless --wayland --no-x11 --virtual-monitor 1280x800 >"$run/compositor.log" 2>&1 &
fi
compositor_pid=$!
e2e_track $compositor_pid
if ! wait_for 100 eval 'ls "$run"/wayland-* 2>/dev/null | grep -qv lock'; then
  if [ "$compositor" = mutter ] && ! kill -0 $compositor_pid 2>/dev/null; then
    echo "SKIP: mutter cannot start here:"
    tail -5 "$run/compositor.log"
    exit "$E2E_SKIP"
  fi
  fail "$compositor did not start"
fi
WAYLAND_DISPLAY=$(basename "$(ls "$run"/wayland-* | grep -v lock | head -1)")
export WAYLAND_DISPLAY
if [ "$compositor" = sway ]; then
  wait_for 50 eval 'ls "$run"/sway-ipc.*.sock >/dev/null 2>&1' || fail "sway's control socket did not appear"
  SWAYSOCK=$(ls "$run"/sway-ipc.*.sock | head -1)
  export SWAYSOCK
  # Every change of focus as sway tells it, stamped with the time it came,
  # so that the times below do not count the checks' own slowness.
  "${as_user[@]}" swaymsg -r -m -t subscribe '["window"]' 2>/dev/null |
    while read -r event; do echo "$(date +%s%N) $event"; done >"$E2E_WORK/events" &
  e2e_track $!
fi

# The windows sway shows, one a line: app id, "focused", "urgent".
views() {
  "${as_user[@]}" swaymsg -t get_tree | python3 -c '
import json, sys
def walk(n):
    if n.get("type") in ("con", "floating_con") and n.get("app_id"):
        print(n["app_id"], "focused" if n.get("focused") else "-", "urgent" if n.get("urgent") else "-")
    for c in n.get("nodes", []) + n.get("floating_nodes", []):
        walk(c)
walk(json.load(sys.stdin))'
}
app=io.github.plitar.Plitar
focused() { [ "$(views | awk '$2 == "focused" {print $1}')" = "$1" ]; }
games() { views | awk -v a=$app '$1 == a' | wc -l; }
urgent() { views | awk -v a=$app '$1 == a && $3 == "urgent"' | grep -q .; }
now() { date +%s%N; }
ms_since() { echo $((($(now) - $1) / 1000000)); }
# Milliseconds from $1 (a time from now) to the first time sway said it gave
# the focus to the game's window, or to the first urgent mark ($2 = urgent).
ms_to_event() {
  awk -v t="$1" -v c="\"change\": \"${2:-focus}\"" -v a="\"app_id\": \"$app\"" \
    '$1 >= t && index($0, c) && index($0, a) { print int(($1 - t) / 1000000); exit }' "$E2E_WORK/events"
}

if [ "$compositor" = mutter ]; then
  # Milliseconds from $1 (a time from now) to the first line of the game's
  # protocol log matching $2 at or after it. The log stamps its lines with the
  # wall clock's microseconds modulo 2^32, in milliseconds.
  ms_in_game_log() {
    awk -v t=$(($1 / 1000 % 4294967296)) -v re="$2" '
      /^\[ *[0-9]+\.[0-9]+\]/ && $0 ~ re {
        split(substr($0, 2), a, "]")
        d = (int(a[1] * 1000 + 0.5) - t + 4294967296) % 4294967296
        if (d < 2147483648) { print int(d / 1000); exit }
      }' "$run/game.log"
  }
  keyboard_enter='wl_keyboard@[0-9]+[.]enter[(]'
  ms_to_event() { ms_in_game_log "$1" "$keyboard_enter"; }
  # The launcher knows whether it holds the keyboard focus; the game holds it
  # when the launcher lost it and the game's last keyboard event gave it.
  focused() {
    ask focus
    if [ "$1" = plitar-e2e-launcher ]; then
      [ "$answer" = focused ]
    else
      [ "$answer" = unfocused ] &&
        grep -E 'wl_keyboard@[0-9]+[.](enter|leave)[(]' "$run/game.log" | tail -1 | grep -Eq "$keyboard_enter"
    fi
  }
  # The running copy's windows, from its protocol log.
  games() { grep -c 'get_toplevel(' "$run/game.log"; }
fi

# A second start with the given environment: it must end with status 0
# within five seconds, without making a window of its own (no xdg toplevel in
# its protocol log). Sets ms to how long it took.
second_start() {
  local start status
  start=$(now)
  WAYLAND_DEBUG=1 timeout 5 "${as_user[@]}" env "$@" "$game" >"$run/second.log" 2>&1
  status=$?
  ms=$(ms_since "$start")
  [ $status -eq 0 ] || fail "a second start ended with status $status after $ms ms"
  if grep -q 'get_toplevel' "$run/second.log"; then fail "a second start made a window of its own"; fi
}

# --- the launcher, then the first start with its token ----------------------
if [ "$compositor" != weston ]; then
  if [ "$compositor" = mutter ]; then
    # Every line written to $keys presses a key on the focused window.
    exec {keys}> >(DBUS_SESSION_BUS_ADDRESS=$mutter_bus "${as_user[@]}" \
      /usr/bin/python3 "$here/remote_keys.py" >"$run/keys.log" 2>&1)
    e2e_track $!
  fi
  coproc LAUNCHER { "${as_user[@]}" "$launcher" 2>"$run/launcher.log"; }
  e2e_track "$LAUNCHER_PID"
  read -r -t 10 -u "${LAUNCHER[0]}" line && [ "$line" = ready ] || fail "the launcher did not start: ${line:-}"
  # Sets answer to the launcher's answer to command $1.
  ask() {
    echo "$1" >&"${LAUNCHER[1]}"
    read -r -t 10 -u "${LAUNCHER[0]}" answer || answer="FAIL no answer"
  }
  wait_for 50 focused plitar-e2e-launcher || fail "the launcher did not get the focus"
  # Sets tok to a fresh token from the launcher.
  token() {
    if [ "$compositor" = mutter ]; then echo >&"$keys"; fi
    ask token
    tok=$answer
    if [[ "$tok" == FAIL* ]]; then fail "launcher: $tok"; fi
  }
  token
  first_env=(XDG_ACTIVATION_TOKEN="$tok" ${E2E_GAME_ENV:-})
  if [ "$compositor" = mutter ]; then first_env+=(WAYLAND_DEBUG=1); fi
else
  # Weston has no way to list windows from outside: the protocol log says
  # when the first copy has made its window.
  first_env=(WAYLAND_DEBUG=1)
fi
start=$(now)
"${as_user[@]}" env "${first_env[@]}" "$game" >"$run/game.log" 2>&1 &
game_pid=$!
e2e_track $game_pid
if [ "$compositor" != weston ]; then
  wait_for 100 focused $app || fail "the first window did not appear with the focus"
  echo "first start (with the launcher's token): the window focused after $(ms_to_event "$start") ms"
else
  wait_for 100 grep -q get_toplevel "$run/game.log" || fail "the first window did not appear"
  echo "first start: the window made after $(ms_since "$start") ms"
fi
kill -0 $game_pid 2>/dev/null || fail "the game did not start"

if [ "$compositor" = weston ]; then
  for i in 1 2 3; do
    second_start
    echo "second start $i (no activation protocol here) ended with 0 after $ms ms"
  done
  kill -0 $game_pid 2>/dev/null || fail "the running copy ended after second starts"
  echo "PASS ($compositor, $bus)"
  exit 0
fi

launcher_front() {
  if [ "$compositor" = mutter ]; then
    # Mutter gives the focus to a new window.
    ask front
    [ "$answer" = focused ] || fail "the launcher did not get the focus back: $answer"
    # The old window's going may hand the game the focus for a moment: its
    # log is to show that it lost it again before a time is taken from it.
    wait_for 50 eval '! grep -E "wl_keyboard@[0-9]+[.](enter|leave)[(]" "$run/game.log" | tail -1 | grep -Eq "$keyboard_enter"' ||
      fail "the game kept the focus after the launcher took it back"
    return
  fi
  "${as_user[@]}" swaymsg "[app_id=plitar-e2e-launcher] focus" >/dev/null
  wait_for 50 focused plitar-e2e-launcher || fail "the launcher did not get the focus back"
}

# --- a second start with a token the compositor issued ------------------------
for i in 1 2; do
  launcher_front
  token
  start=$(now)
  second_start XDG_ACTIVATION_TOKEN="$tok"
  wait_for 50 focused $app || fail "a second start with the launcher's token left the window behind"
  [ "$(games)" -eq 1 ] || fail "$(games) windows of the game after a second start"
  echo "second start $i with a token: ended with 0 after $ms ms; the window focused $(ms_to_event "$start") ms after the start"
done

# --- a token the compositor never issued moves nothing ------------------------
launcher_front
second_start XDG_ACTIVATION_TOKEN=not-a-token-of-this-compositor
sleep 1
focused plitar-e2e-launcher || fail "a made-up token brought the window forward"
echo "second start with a made-up token: ended with 0 after $ms ms, the focus stayed"

# --- without a token the window asks for attention ----------------------------
if [ "$compositor" = mutter ]; then
  # Mutter shows a request for attention only in its own shell: the game's
  # protocol log shows the running copy asking with a token of its own.
  start=$(now)
  second_start
  wait_for 50 eval '[ -n "$(ms_in_game_log $start "xdg_activation_v1@[0-9]+[.]activate[(]")" ]' ||
    fail "a second start without a token did not make the running copy ask for attention"
  [ -n "$(ms_in_game_log "$start" 'xdg_activation_token_v1@[0-9]+[.]commit[(]')" ] ||
    fail "the running copy asked for attention without a token of its own"
  sleep 1
  focused plitar-e2e-launcher || fail "a request for attention took the focus"
  echo "second start without a token: ended with 0 after $ms ms; the running copy asked for attention $(ms_in_game_log "$start" 'xdg_activation_v1@[0-9]+[.]activate[(]') ms after the start, the focus stayed"
  kill -0 $game_pid 2>/dev/null || fail "the running copy ended"
  [ "$(games)" -eq 1 ] || fail "$(games) windows of the game at the end"
  echo "PASS ($compositor, $bus)"
  exit 0
fi
"${as_user[@]}" swaymsg focus_on_window_activation urgent >/dev/null
if urgent; then fail "the window is urgent before anyone asked"; fi
start=$(now)
second_start
wait_for 50 urgent || fail "a second start without a token did not mark the window urgent"
focused plitar-e2e-launcher || fail "a request for attention took the focus"
echo "second start without a token: ended with 0 after $ms ms; the window urgent $(ms_to_event "$start" urgent) ms after the start"

kill -0 $game_pid 2>/dev/null || fail "the running copy ended"
[ "$(games)" -eq 1 ] || fail "$(games) windows of the game at the end"
echo "PASS ($compositor, $bus)"
