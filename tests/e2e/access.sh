#!/usr/bin/env bash
# End to end for a player without a mouse or without sight: the real program
# under Xvfb with the accessibility bus, read and played by access.py as a
# screen reader would (play), or with the Orca screen reader running and its
# speech checked in its debug log (orca).
#   access.sh path/to/plitar play|orca
set -uo pipefail
game=$1 mode=$2
here=$(cd "$(dirname "$0")" && pwd)

. "$here/lib.sh"
# A network namespace and a session bus of their own, so that nothing meets
# another copy of the game or another test's accessibility bus.
e2e_isolate "$@"
e2e_session_bus "$@"

launcher=""
for l in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
  [ -x "$l" ] && launcher=$l && break
done
[ -n "$launcher" ] || { echo "SKIP: at-spi-bus-launcher is missing (at-spi2-core)"; exit 77; }
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi is missing"; exit 77; }
e2e_need Xvfb xdotool
[ "$mode" != orca ] || e2e_need orca

e2e_workdir "access-$mode"
work=$E2E_WORK
fail() { echo "FAIL (access, $mode): $*"; exit 1; }

# Nothing of the user's own: settings, Orca's preferences and the runtime
# directory all live in the work folder.
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_DATA_HOME=$work/home/.local/share
mkdir -p "$HOME"
export QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
export LANG=C.UTF-8

e2e_xvfb 1280x800x24 -fp built-ins || fail "Xvfb did not start"

# The accessibility bus, as a desktop session starts it.
"$launcher" --launch-immediately >"$work/bus.log" 2>&1 &
e2e_track $!
wait_for 100 eval 'dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1' \
  || fail "the accessibility bus did not start"

if [ "$mode" = orca ]; then
  # No sound card and no speech server: Orca keeps what it would say in its
  # debug log, every utterance as a line "SPEECH OUTPUT: '...'". Without a
  # speech server factory it does not wait for speech-dispatcher either.
  mkdir -p "$XDG_DATA_HOME/orca"
  cat >"$XDG_DATA_HOME/orca/user-settings.conf" <<'EOF'
{"general": {"speechServerFactory": "", "enableBraille": false, "enableSound": false,
             "enableTutorialMessages": false, "firstStart": false},
 "profiles": {"default": {"profile": ["Default", "default"], "speechServerFactory": "",
                          "enableBraille": false}},
 "keybindings": {}, "pronunciations": {}}
EOF
  # Orca writes its debug log through a large buffer; run so, it opens its
  # files line-buffered, and the test reads each utterance as it is said.
  /usr/bin/python3 - "$(command -v orca)" --debug-file="$work/orca.log" >"$work/orca.out" 2>&1 <<'EOF' &
import builtins, runpy, sys
plain_open = builtins.open
def line_buffered(file, mode="r", *args, **kwargs):
    if "w" in mode and "b" not in mode and not args and "buffering" not in kwargs:
        kwargs["buffering"] = 1
    return plain_open(file, mode, *args, **kwargs)
builtins.open = line_buffered
sys.argv = sys.argv[1:]
runpy.run_path(sys.argv[0], run_name="__main__")
EOF
  e2e_track $!
  wait_for 300 grep -qs "SPEECH OUTPUT" "$work/orca.log" || fail "Orca did not start: $(tail -5 "$work/orca.out")"
fi

"$game" >"$work/game.log" 2>&1 &
e2e_track $!

if [ "$mode" = orca ]; then
  timeout 240 /usr/bin/python3 "$here/access.py" orca "$work/orca.log"
else
  timeout 240 /usr/bin/python3 "$here/access.py" play
fi
status=$?
[ "$status" -eq 0 ] || { echo "game log:"; tail -20 "$work/game.log"; fail "access.py ended with $status"; }
echo "PASS (access, $mode)"
