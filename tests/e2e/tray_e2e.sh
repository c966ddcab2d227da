#!/usr/bin/env bash
# The program in a real notification area (trayer): the icon appears at start,
# minimising writes the changed card and takes the window away, a click on
# the icon brings it back, and after closing no icon is left.
source "$(dirname "$0")/lib.sh"
unset DBUS_SESSION_BUS_ADDRESS # XEmbed tray, not a StatusNotifierItem host
start_window_manager
trayer --edge top --align right --widthtype request --height 32 --SetDockType true >/dev/null 2>&1 &
PIDS+=($!)
tray_panel() { xwininfo -root -tree | matches '"panel": ("panel" "trayer")'; }
wait_until 300 tray_panel || fail "trayer did not start: $(kill -0 "${PIDS[-1]}" 2>&1 && echo running) $(xwininfo -root -tree | grep -c '"')"

prog=$(make_program_folder "$1")
mkdir "$prog/KRT"
printf 'Karte\n' >"$prog/KRT/Karte.rtf"

# "w h x y" of the program's icon inside trayer's panel.
icon_geometry() {
  xwininfo -root -tree | awk '
    /"panel": \("panel" "trayer"\)/ { match($0, /^ */); depth = RLENGTH; inside = 1; next }
    inside { match($0, /^ */); if (RLENGTH <= depth) inside = 0 }
    inside && /"Kartolino": \(/ {
      split($(NF-1), size, /[x+]/); split($NF, pos, "+")
      print size[1], size[2], pos[2], pos[3]; exit
    }'
}
click_icon() {
  local w h x y
  read -r w h x y <<<"$(icon_geometry)"
  xdotool mousemove $((x + w / 2)) $((y + h / 2)) click "${1:-1}"
}
map_state() { xwininfo -id "$1" | sed -n 's/.*Map State: //p'; }

start_program "$prog"
for _ in $(seq 80); do [ -n "$(icon_geometry)" ] && break; sleep 0.1; done
[ -n "$(icon_geometry)" ] || fail "no icon in the notification area"
ok "icon in the notification area"
win=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no main window"
wait_until 100 iconic "$win" || fail "main window not minimised at start"

click_icon 1
wait_until 100 caption_shown "$win" || fail "the tray click did not run the first show"
[ "$(map_state "$win")" = IsViewable ] || fail "window not shown after the tray click"
ok "tray click runs the first show"

focus_window "$win"
geometry_of() { xwininfo -id "$1" | grep -E 'Absolute|Width|Height'; }
# The window manager places the window a moment after the first show: take
# the geometry once two looks agree.
settled_geometry() {
  local last="" now
  for _ in $(seq 50); do
    now=$(geometry_of "$1"); [ "$now" = "$last" ] && { echo "$now"; return 0; }
    last=$now; sleep 0.2
  done
  fail "window does not settle"
}
geometry=$(settled_geometry "$win")
xdotool key ctrl+End
xdotool type --delay 30 "vor dem Verstecken"
keys_taken "$PROGRAM_PID"
xdotool windowminimize "$win"
for _ in $(seq 50); do [ "$(map_state "$win")" = IsUnMapped ] && break; sleep 0.1; done
[ "$(map_state "$win")" = IsUnMapped ] || fail "minimising left the window mapped: $(map_state "$win")"
wait_until 30 card_has "$prog/KRT/Karte.rtf" "vor dem Verstecken" || fail "minimising did not write the card"
ok "minimising writes the card and hides the window"

click_icon 3
for _ in $(seq 50); do [ "$(map_state "$win")" = IsViewable ] && break; sleep 0.1; done
[ "$(map_state "$win")" = IsViewable ] || fail "right click on the icon did not bring the window back"
back_in_place() { [ "$(geometry_of "$win")" = "$geometry" ]; }
wait_until 50 back_in_place || fail "window came back elsewhere: $geometry / $(geometry_of "$win")"
ok "the window comes back in the same place and size"

focus_window "$win"
xdotool key alt+F4
code=$(wait_for_exit "$prog") || fail "program did not end"
[ "$code" = 0 ] || fail "exit code $code"
no_icon() { [ -z "$(icon_geometry)" ]; }
wait_until 30 no_icon || fail "an icon was left behind"
ok "closing removes the icon"
