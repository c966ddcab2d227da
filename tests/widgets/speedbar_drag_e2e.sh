#!/usr/bin/env bash
# Drags a speed bar with the real mouse on a private X display (Xvfb with
# openbox): from the top edge of its window to the left edge, and checks that
# it docked there, turned upright and filled the window's height.
# Usage: speedbar_drag_e2e.sh <path of speedbar_drag_probe>
probe=$1
PROBE_LOG=out
source "$(dirname "$0")/xdisplay.sh"

require_tools Xvfb openbox xdotool xprop
start_display

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
# The probe takes the pointer's events in turn, so no pauses are needed between them.
xdotool mousemove "$px" "$py"
xdotool mousedown 1
# Small steps first (still a click), then off towards the left edge's middle.
xdotool mousemove "$((px - 3))" "$((py + 2))"
tx=$((cx + 20))
ty=$((cy + ch / 2))
for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove "$((px + (tx - px) * step / 8))" "$((py + (ty - py) * step / 8))"
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
