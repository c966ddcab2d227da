#!/usr/bin/env bash
# The real program under X11's key scheme: the cards stand in name order,
# Ctrl+K and Ctrl+Shift+F format the selection instead of deleting it, a
# card keeps its caret through a round trip to another card, and
# the commands that need a card show nothing while there is none.
source "$(dirname "$0")/lib.sh"
start_window_manager

# Name order without regard to case; umlauts after the letters.
order=(Apfel birne "Karte 10" "karte 2" zebra "Äther" "Öl")
prog=$(make_program_folder "$1")
mkdir "$prog/KRT"
for name in "Öl" zebra "karte 2" "Äther" birne "Karte 10"; do printf '{\\rtf1\\ansi }' >"$prog/KRT/$name.rtf"; done
printf '{\\rtf1\\ansi Alpha Beta}' >"$prog/KRT/Apfel.rtf"

start_program "$prog"
win=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no main window"
first_show "$win"
# "Beta" selected: Ctrl+K (Emacs would delete to the end of the line) makes
# it italic, Ctrl+Shift+F bold; Ctrl+U (Emacs: delete the line) underlines.
xdotool key ctrl+End ctrl+shift+Left ctrl+k ctrl+shift+f ctrl+u End
for i in "${!order[@]}"; do
  xdotool type --delay 20 " Nr$i"
  xdotool key ctrl+Tab
done
code=$(close_window "$win" "$prog") || fail "program did not end"
[ "$code" = 0 ] || fail "exit code $code"
for i in "${!order[@]}"; do
  card_has "$prog/KRT/${order[$i]}.rtf" "Nr$i" || fail "tab $i is not ${order[$i]}: $(card_text "$prog/KRT/${order[$i]}.rtf")"
done
ok "cards in name order"
apfel=$(cat "$prog/KRT/Apfel.rtf")
card_has "$prog/KRT/Apfel.rtf" "Alpha.*Beta.*Nr0" || fail "the keys changed the text: $(card_text "$prog/KRT/Apfel.rtf")"
for word in '\\i' '\\b' '\\ul'; do
  printf '%s' "$apfel" | matches -e "$word" || fail "no ${word#\\} in $apfel"
done
ok "Ctrl+K, Ctrl+Shift+F and Ctrl+U format and keep the text"

# A round trip through another card: the caret is where it was left, so the
# typed letter lands at the end of the card, not at its top.
prog=$(make_program_folder "$1")
mkdir "$prog/KRT"
{ printf '{\\rtf1\\ansi Anfang\\par '; for i in $(seq 200); do printf 'Zeile %s\\par ' "$i"; done; printf 'Ende}'; } >"$prog/KRT/Alpha.rtf"
printf '{\\rtf1\\ansi Beta}' >"$prog/KRT/Beta.rtf"
start_program "$prog"
win=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no main window"
first_show "$win"
xdotool key ctrl+End ctrl+Tab ctrl+shift+Tab
xdotool type --delay 20 "Q"
code=$(close_window "$win" "$prog") || fail "program did not end"
[ "$code" = 0 ] || fail "exit code $code"
card_has "$prog/KRT/Alpha.rtf" "EndeQ" || fail "typed after the round trip elsewhere: $(card_text "$prog/KRT/Alpha.rtf" | head -c 80)"
ok "the caret stays where it was left in a card"

# No card: the hand-off, printing, formatting and the time stamp show nothing.
prog=$(make_program_folder "$1")
mkdir "$prog/KRT"
start_program "$prog"
win=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no main window"
first_show "$win"
before=$(visible_windows "$PROGRAM_PID")
xdotool key alt+k t
xdotool key ctrl+b ctrl+k F5 ctrl+s
keys_taken "$PROGRAM_PID"
[ "$(visible_windows "$PROGRAM_PID")" = "$before" ] \
  || fail "a window came up without a card: $(xdotool search --onlyvisible --pid "$PROGRAM_PID" getwindowname %@ 2>/dev/null)"
code=$(close_window "$win" "$prog") || fail "program did not end"
[ "$code" = 0 ] || fail "exit code $code"
[ -z "$(ls -A "$prog/KRT")" ] || fail "a card appeared: $(ls "$prog/KRT")"
ok "commands that need a card do nothing without one"
