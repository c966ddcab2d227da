#!/usr/bin/env bash
# Ctrl+F in the real program: typing finds the term in the second card,
# F3 goes on to the third, Escape hands the keys back to the editor, and the
# picked cards are written and loaded as at a tab pick by the user.
source "$(dirname "$0")/lib.sh"
start_window_manager

prog=$(make_program_folder "$1")
mkdir "$prog/KRT"
for name in Eins Zwei Drei; do : >"$prog/KRT/$name.rtf"; done
tabs=(Drei Eins Zwei) # in name order
printf '{\\rtf1\\ansi Nichts zu finden}' >"$prog/KRT/${tabs[0]}.rtf"
printf '{\\rtf1\\ansi \\b APFEL\\b0  und Birne}' >"$prog/KRT/${tabs[1]}.rtf"
printf '{\\rtf1\\ansi Noch ein\\par Apfel}' >"$prog/KRT/${tabs[2]}.rtf"
first_before=$(md5sum <"$prog/KRT/${tabs[0]}.rtf")

start_program "$prog"
win=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no main window"
first_show "$win"

# Keys are handled in order, so each step sees the one before it done.
xdotool key ctrl+f
xdotool type --delay 30 "apfel"
xdotool key Escape
xdotool type --delay 30 "Quitte"
xdotool key ctrl+f F3
wait_until 50 card_has "$prog/KRT/${tabs[1]}.rtf" "Quitte.*Birne" \
  || fail "second card not found or not written when F3 left it: $(card_text "$prog/KRT/${tabs[1]}.rtf")"
ok "typing selects the hit in the second card; F3 leaves it written"

xdotool key Escape
xdotool type --delay 30 "Pflaume"
xdotool key alt+F4
code=$(wait_for_exit "$prog") || fail "program did not end"
[ "$code" = 0 ] || fail "exit code $code"
card_has "$prog/KRT/${tabs[2]}.rtf" "Pflaume" && ! card_has "$prog/KRT/${tabs[2]}.rtf" "Apfel" \
  || fail "F3 did not select the hit in the third card: $(card_text "$prog/KRT/${tabs[2]}.rtf")"
[ "$first_before" = "$(md5sum <"$prog/KRT/${tabs[0]}.rtf")" ] || fail "the first card was written"
ok "F3 selects the hit in the third card, Escape gives the keys to the editor"
