# Shared by the component probes' end-to-end scripts: a private X display
# (Xvfb with openbox) in a temporary folder, torn down on exit.
# The sourcing script sets PROBE_LOG to the file its probe writes events to.
set -u
work=$(mktemp -d)
pids=()

cleanup() {
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    echo "--- probe output"; cat "$work/${PROBE_LOG:-out}" 2>/dev/null
    echo "--- probe stderr"; cat "$work/stderr" 2>/dev/null
    exit 1
}

# Waits up to $1 tenths of a second for the command to succeed.
wait_for() {
    local tries=$1; shift
    for ((t = 0; t < tries; t++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# require_tools TOOL... fails the test when one is missing.
require_tools() {
    for tool in "$@"; do
        command -v "$tool" >/dev/null || fail "$tool is not installed"
    done
}

# Starts Xvfb on a free display (-displayfd, so parallel runs do not collide)
# and openbox on it; exports DISPLAY and a private XDG_RUNTIME_DIR.
start_display() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
    pids+=($!)
    wait_for 100 test -s "$work/display" || fail "Xvfb did not start"
    export DISPLAY=":$(cat "$work/display")"
    export XDG_RUNTIME_DIR="$work"
    # An openbox that gave up while the X server was still settling on a
    # loaded machine is started once more; what it said goes into the failure.
    local attempt
    for attempt in 1 2; do
        openbox >>"$work/openbox.log" 2>&1 &
        pids+=($!)
        wait_for 300 wm_or_gone "${pids[-1]}" && wm_running && return 0
    done
    fail "openbox did not start: $(tail -c 400 "$work/openbox.log")"
}

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# True once the window manager runs, or once its process $1 has ended.
wm_or_gone() { wm_running || ! kill -0 "$1" 2>/dev/null; }
