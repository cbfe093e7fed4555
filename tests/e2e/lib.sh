# Shared pieces of the scripts that run the real program: a network namespace
# and a session bus of their own, waiting, a virtual X server in that same
# namespace, the game's window and caption, and cleaning up what was started.
#
#   . "$(dirname "$0")/lib.sh"        # path to this file from the script
#   e2e_isolate "$@"                  # first: re-runs the script in its own namespace
#   e2e_workdir name                  # $E2E_WORK, removed (or kept with KEEP=1) at exit
#   e2e_xvfb 1280x800x24 || fail ...  # DISPLAY set, the server in this namespace
#   prog & e2e_track $!               # killed at exit
#
# The functions return a status and print nothing on success; the script
# decides what a failure means. A missing tool ends the script with
# $E2E_SKIP (77, which CTest reports as skipped).

E2E_SKIP=${E2E_SKIP:-77}
E2E_PIDS=()
E2E_WORK=''

# Re-runs the calling script with the given arguments in a network namespace
# of its own, once. The game's single-copy socket names and the X server's
# abstract socket belong to a network namespace, so a copy of the game or an
# X server elsewhere on this machine can neither meet nor disturb this run.
# Without the right to make one (no root, no user namespaces) it goes on here
# and says so.
e2e_isolate() {
  [ -n "${PLITAR_E2E_INSIDE:-}" ] && return 0
  export PLITAR_E2E_INSIDE=1
  if unshare -n true 2>/dev/null; then
    exec unshare -n bash "$0" "$@"
  elif unshare -rn true 2>/dev/null; then
    exec unshare -rn bash "$0" "$@"
  fi
  echo "note: no network namespace of its own; a copy of the game running here may disturb the test"
}

# Re-runs the calling script with the given arguments under a session bus of
# its own, once; ends it with $E2E_SKIP where dbus-run-session is missing.
e2e_session_bus() {
  [ -n "${PLITAR_E2E_BUS:-}" ] && return 0
  e2e_need dbus-run-session
  export PLITAR_E2E_BUS=1
  exec dbus-run-session -- bash "$0" "$@"
}

# Makes the program see no session bus at all: the address names a socket
# that is not there. Needs $E2E_WORK.
e2e_no_bus() {
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$E2E_WORK/no-bus-here"
}

# Ends the script with $E2E_SKIP when one of the named programs is missing.
e2e_need() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing"; exit "$E2E_SKIP"; }
  done
}

# Makes the working folder $E2E_WORK with a private runtime folder in it
# (XDG_RUNTIME_DIR, where the program would find a bus of the user's), and
# cleans up at exit. KEEP=1 keeps a copy in /tmp/e2e-kept-$1.
e2e_workdir() {
  E2E_WORK=$(mktemp -d)
  chmod 755 "$E2E_WORK"
  mkdir -m 700 "$E2E_WORK/run"
  export XDG_RUNTIME_DIR=$E2E_WORK/run
  E2E_KEEP_AS=/tmp/e2e-kept-$1
  trap e2e_cleanup EXIT
}

# Kills what e2e_track recorded and removes the working folder. A script with
# more to undo sets its own trap and calls this from it.
e2e_cleanup() {
  local p
  # Written with if, as a caller may run under set -e.
  for p in "${E2E_PIDS[@]}"; do
    if kill -9 "$p" 2>/dev/null; then wait "$p" 2>/dev/null || true; fi
  done
  E2E_PIDS=()
  [ -n "$E2E_WORK" ] || return 0
  if [ -n "${KEEP:-}" ]; then rm -rf "$E2E_KEEP_AS"; cp -r "$E2E_WORK" "$E2E_KEEP_AS" || true; fi
  rm -rf "$E2E_WORK"
}

# Records processes to be killed at exit.
e2e_track() {
  E2E_PIDS+=("$@")
}

# Waits up to $1 tenths of a second for the command after it to succeed.
wait_for() {
  local tenths=$1 i
  shift
  for ((i = 0; i < tenths; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# Starts Xvfb with a screen of $1 (WxHxDepth) and any further options, in
# this script's namespace, and sets DISPLAY. Xvfb picks a free display number
# itself and writes it to the pipe once it takes connections. Its log is
# $E2E_WORK/xvfb.log. Fails after ten seconds without a display.
e2e_xvfb() {
  local screen=$1
  shift
  Xvfb -displayfd 4 -screen 0 "$screen" -nolisten tcp -noreset "$@" \
    4>"$E2E_WORK/display" 2>"$E2E_WORK/xvfb.log" &
  e2e_track $!
  wait_for 100 test -s "$E2E_WORK/display" || return 1
  export DISPLAY=":$(head -1 "$E2E_WORK/display")"
}

# The visible windows whose name begins with "Плитар", one id a line.
e2e_windows() {
  xdotool search --onlyvisible --name '^Плитар' 2>/dev/null
}

# The caption of window $1.
e2e_caption() {
  xprop -id "$1" _NET_WM_NAME 2>/dev/null | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'
}
