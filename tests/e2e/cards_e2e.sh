#!/usr/bin/env bash
# Starts the real program, restores it, switches cards by keyboard, types,
# closes, and checks what reached the card files.
source "$(dirname "$0")/lib.sh"
start_window_manager

prog=$(make_program_folder "$1")
mkdir "$prog/KRT"
printf 'Erste Karte\n' >"$prog/KRT/Eins.rtf"
printf '{\\rtf1\\ansi Zweite Karte}' >"$prog/KRT/Zwei.rtf"
# The tabs stand in name order.
first_tab=Eins
second_tab=Zwei

start_program "$prog"
# The splash first: a frameless 272 x 104 window.
splash_seen=no
for _ in $(seq 30); do
  for w in $(xdotool search --pid "$PROGRAM_PID" 2>/dev/null || true); do
    xwininfo -id "$w" | matches 'Width: 272' && xwininfo -id "$w" | matches 'IsViewable' && splash_seen=yes
  done
  [ $splash_seen = yes ] && break
  sleep 0.1
done
[ $splash_seen = yes ] || fail "no splash window"
ok "splash shown"

win=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no minimised main window"
wait_until 100 iconic "$win" || fail "main window is not minimised at start: $(wm_state "$win")"
[ -z "$(ls "$prog" | grep -i ini)" ] || fail "settings touched before the first show"
ok "starts minimised"

first_show "$win"
ok "first show"

xdotool type --delay 30 "Hallo "
xdotool key ctrl+Tab
wait_until 50 card_has "$prog/KRT/$first_tab.rtf" "Hallo " || fail "leaving card not written: $(cat "$prog/KRT/$first_tab.rtf")"
ok "tab switch writes the leaving card"

xdotool type --delay 30 "Welt"
xdotool key alt+F4
code=$(wait_for_exit "$prog") || fail "program did not end after Alt+F4"
[ "$code" = 0 ] || fail "exit code $code"
wait_until 30 card_has "$prog/KRT/$second_tab.rtf" "Welt" || fail "closing did not write the card"
ok "close writes the card and ends with 0"

# A second run without editing leaves every card untouched.
before=$(md5sum "$prog"/KRT/*.rtf)
start_program "$prog"
win=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no window on the second run"
first_show "$win"
xdotool key ctrl+Tab alt+F4
wait_for_exit "$prog" >/dev/null || fail "second run did not end"
[ "$before" = "$(md5sum "$prog"/KRT/*.rtf)" ] || fail "cards changed without editing"
ok "untouched without editing"
