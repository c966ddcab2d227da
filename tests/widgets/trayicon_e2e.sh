#!/usr/bin/env bash
# The tray icon on a real X display: a private Xvfb with openbox and trayer as
# the notification area. Checks that trayer embeds the icon, that left, right
# and double clicks on it arrive as the component's events, and that the icon
# goes when a handler destroys the component.
# Usage: trayicon_e2e.sh <path of trayicon_e2e_probe>
probe=$1
PROBE_LOG=events
source "$(dirname "$0")/xdisplay.sh"

require_tools Xvfb openbox trayer xwininfo xdotool xprop
unset DBUS_SESSION_BUS_ADDRESS # XEmbed, not a StatusNotifierItem host
start_display
trayer --edge top --align right --widthtype request --height 32 --SetDockType true >/dev/null 2>&1 &
pids+=($!)

QT_QPA_PLATFORM=xcb "$probe" >"$work/events" 2>"$work/stderr" &
pids+=($!)
wait_for 150 grep -q '^added=' "$work/events" || fail "the probe did not report"
grep -qx 'tray=1' "$work/events" || fail "no notification area found"
grep -qx 'added=1' "$work/events" || fail "the icon was not added"

# The probe's icon window, embedded somewhere below trayer's "panel" window:
# prints "width height x y" (absolute position).
icon_geometry() {
    xwininfo -root -tree | awk '
        /"panel": \("panel" "trayer"\)/ { match($0, /^ */); depth = RLENGTH; inside = 1; next }
        inside { match($0, /^ */); if (RLENGTH <= depth) inside = 0 }
        inside && /"trayicon_e2e_probe": \(/ {
            split($(NF-1), size, /[x+]/); split($NF, pos, "+")
            print size[1], size[2], pos[2], pos[3]; exit
        }'
}
icon_embedded() { test -n "$(icon_geometry)"; }
wait_for 50 icon_embedded || fail "trayer did not embed the icon: $(xwininfo -root -tree)"
read -r w h x y <<<"$(icon_geometry)"
echo "icon embedded in trayer: ${w}x${h} at +$x+$y"
cx=$((x + w / 2))
cy=$((y + h / 2))

lines() { wc -l <"$work/events"; }
new_events() { tail -n +"$(($1 + 1))" "$work/events" | cut -d' ' -f1,2 | tr '\n' ','; }

before=$(lines)
xdotool mousemove "$cx" "$cy" click 1
wait_for 30 grep -q '^up L' "$work/events" || fail "no events for a left click"
got=$(new_events "$before")
[ "$got" = "down L,click L,up L," ] || fail "left click gave: $got"
grep -q "^click L $cx $cy\$" "$work/events" || fail "click without the cursor position"

# Each click uses another button than the one before it: a press pairs into a
# double click only with a press of the same button, so no pause is needed.
before=$(lines)
xdotool click 3
wait_for 30 grep -q '^up R' "$work/events" || fail "no events for a right click"
got=$(new_events "$before")
[ "$got" = "down R,click R,up R," ] || fail "right click gave: $got"

before=$(lines)
xdotool click --repeat 2 --delay 80 1
wait_for 30 grep -q '^dblclick' "$work/events" || fail "no double click"
six_more() { [ "$(($(lines) - before))" -ge 6 ]; }
wait_for 30 six_more || fail "double click gave: $(new_events "$before")"
got=$(new_events "$before")
[ "$got" = "down L,click L,up L,dblclick,down L,up L," ] || fail "double click gave: $got"

# A handler that destroys the component: the program goes on and the icon
# leaves the notification area.
xdotool click 2
wait_for 30 grep -q '^destroyed' "$work/events" || fail "the middle click did not destroy the component"
wait_for 30 eval '! icon_embedded' || fail "the icon stayed in trayer after the component was destroyed"
wait_for 30 grep -q '^returned' "$work/events" || fail "the probe did not come back from destroying its component"
kill -0 "${pids[-1]}" 2>/dev/null || fail "the probe ended after destroying its component"

echo "PASS"
