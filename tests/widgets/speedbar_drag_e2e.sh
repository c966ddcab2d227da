#!/usr/bin/env bash
# Drags a speed bar with the real mouse on a private X display (Xvfb with
# openbox): from the top edge of its window to the left edge, and checks that
# it docked there, turned upright and filled the window's height.
# Usage: speedbar_drag_e2e.sh <path of speedbar_drag_probe>
set -u
probe=$1
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
    echo "--- probe output"; cat "$work/out" 2>/dev/null
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

for tool in Xvfb openbox xdotool; do
    command -v "$tool" >/dev/null || fail "$tool is not installed"
done

# -displayfd picks a free display number, so parallel runs do not collide.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
wait_for 100 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"
export XDG_RUNTIME_DIR="$work"

openbox >/dev/null 2>&1 &
pids+=($!)
sleep 0.5

QT_QPA_PLATFORM=xcb "$probe" >"$work/out" 2>"$work/stderr" &
pids+=($!)
wait_for 150 grep -qs '^ready ' "$work/out" || fail "the probe did not report"

# "ready client=x,y,w,h bar=x,y,w,h"
IFS=', ' read -r cx cy cw ch bx by bw bh <<<"$(sed -n 's/^ready client=\([^ ]*\) bar=\(.*\)$/\1 \2/p' "$work/out")"
echo "client ${cw}x${ch}+$cx+$cy, bar ${bw}x${bh}+$bx+$by"
[ "$bx" = "$cx" ] && [ "$by" = "$cy" ] && [ "$bw" = "$cw" ] || fail "the bar did not start docked at the top"

# Press on the bar's free surface, right of its buttons.
px=$((bx + bw - 40))
py=$((by + bh / 2))
xdotool mousemove "$px" "$py"
sleep 0.2
xdotool mousedown 1
sleep 0.2
# Small steps first (still a click), then off towards the left edge's middle.
xdotool mousemove "$((px - 3))" "$((py + 2))"
sleep 0.1
tx=$((cx + 20))
ty=$((cy + ch / 2))
for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove "$((px + (tx - px) * step / 8))" "$((py + (ty - py) * step / 8))"
    sleep 0.1
done
wait_for 30 grep -q '^target 3$' "$work/out" || fail "the drag never aimed at the left edge"
# The outline shows where the bar will go: the window's left edge, the bar's thickness wide.
wait_for 30 grep -qx "outline $cx,$cy,$bh,$ch shown=1" "$work/out" || fail "no outline at the left edge"
xdotool mouseup 1

wait_for 30 grep -q '^pos ' "$work/out" || fail "no position change after the drop"
got=$(grep '^pos ' "$work/out" | tail -n 1)
want="pos align=3 bar=0,0,$bh,$ch"
[ "$got" = "$want" ] || fail "after the drop: '$got', expected '$want'"
[ "$(grep -c '^pos ' "$work/out")" = 1 ] || fail "more than one drop reported"

echo "--- probe output"; cat "$work/out"
echo "PASS"
