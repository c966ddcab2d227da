#!/usr/bin/env bash
# No typed text is lost: typing without a card, other programs' writes to the
# current card, a crash between save points, pasted pictures naming devices,
# a window size larger than the screen.
source "$(dirname "$0")/lib.sh"
export XDG_STATE_HOME="$E2E_TMP/state" XDG_CONFIG_HOME="$E2E_TMP/config" XDG_CACHE_HOME="$E2E_TMP/cache"
RECOVERY="$XDG_STATE_HOME/Kartolino"
start_window_manager
BIN=$1

# no_box -> the program shows no window but its main window: what it says
# on its own goes to the strip above the editor and leaves the keys alone
no_box() {
  local w
  for w in $(xdotool search --onlyvisible --pid "$PROGRAM_PID" 2>/dev/null || true); do
    [ "$w" = "$WIN" ] || fail "a box opened by itself: $(xdotool getwindowname "$w")"
  done
}
# other_program_writes FILE TEXT -> replaces FILE as most editors do
other_program_writes() {
  printf '{\\rtf1\\ansi %s}' "$2" >"$1.new"
  mv "$1.new" "$1"
}

# Typing without a card: the editor takes nothing, so nothing can vanish.
prog=$(make_program_folder "$BIN")
mkdir "$prog/KRT"
open_program "$prog"
xdotool type --delay 20 "Verloren"
xdotool key alt+k n
box=$(wait_for_window "$PROGRAM_PID" '^Neue Karte anlegen$' 50) || fail "no input box"
xdotool key Return
wait_until 50 test -f "$prog/KRT/Neue Karte.rtf" || fail "new card not made"
xdotool type --delay 20 "Erster"
close_program "$prog"
card_has "$prog/KRT/Neue Karte.rtf" Erster || fail "typing into the first card lost"
! card_has "$prog/KRT/Neue Karte.rtf" Verloren || fail "text typed without a card reached a card"
ok "without a card the editor takes no text"

# Another program writes the card while the editor holds no change: the new text is shown.
prog=$(make_program_folder "$BIN")
mkdir "$prog/KRT"; other_program_writes "$prog/KRT/Brief.rtf" "Alter Text"
open_program "$prog"
other_program_writes "$prog/KRT/Brief.rtf" "Neuer Text"
wait_until 50 editor_shows "Neuer Text" || fail "the other program's text is not loaded"
xdotool key ctrl+End; xdotool type --delay 20 " dazu"
close_program "$prog"
card_has "$prog/KRT/Brief.rtf" "Neuer Text dazu" || fail "card after reload: $(card_text "$prog/KRT/Brief.rtf")"
ok "an outside write is loaded when the editor has no change"

# Both changed: the other program's file stays, the editor's text becomes a copy.
prog=$(make_program_folder "$BIN")
mkdir "$prog/KRT"; other_program_writes "$prog/KRT/Brief.rtf" "Anfang"
open_program "$prog"
xdotool type --delay 20 "Meins "
other_program_writes "$prog/KRT/Brief.rtf" "Fremd"
close_program "$prog"
card_has "$prog/KRT/Brief.rtf" Fremd || fail "the other program's text was overwritten"
card_has "$prog/KRT/Brief (Kopie).rtf" "Meins" || fail "the editor's text was not kept as a copy"
ok "both changed: file kept, own text in Brief (Kopie)"

# The card folder gone meanwhile (an unmounted drive): nothing is written
# there, and the text comes back with the folder.
prog=$(make_program_folder "$BIN")
mkdir "$prog/KRT"; other_program_writes "$prog/KRT/Brief.rtf" "Anfang"
open_program "$prog"
xdotool type --delay 20 "Bleibt "
mv "$prog/KRT" "$prog/KRT.weg"
close_program "$prog"
[ ! -e "$prog/KRT" ] || fail "the gone card folder was made again: $(ls -R "$prog/KRT")"
mv "$prog/KRT.weg" "$prog/KRT"
touch -d '-1 hour' "$prog/KRT/Brief.rtf"
open_program "$prog"
no_box
close_program "$prog"
card_has "$prog/KRT/Brief.rtf" "Bleibt" || fail "text typed while the folder was gone lost: $(card_text "$prog/KRT/Brief.rtf")"
ok "a gone card folder is not made again, and the text waits for it"

# A crash between save points: the recovery brings the text back at the next start.
prog=$(make_program_folder "$BIN")
mkdir "$prog/KRT"; other_program_writes "$prog/KRT/Brief.rtf" "Anfang"
open_program "$prog"
xdotool type --delay 20 "Gerettet "
wait_until 100 sh -c "ls '$RECOVERY'/*.rtf >/dev/null 2>&1" || fail "no recovery file written"
kill -9 "$PROGRAM_PID"
wait_until 50 test -f "$prog/exit-code" || fail "program survived kill -9"
! card_has "$prog/KRT/Brief.rtf" Gerettet || fail "card written without a save point"
[ "$(ls "$prog/KRT")" = "Brief.rtf" ] || fail "recovery seen by the card listing: $(ls "$prog/KRT")"
open_program "$prog"
# Typed at once, before any message could be read: every key reaches the card.
xdotool type --delay 20 "sofort Hallo "
keys_taken "$PROGRAM_PID"
no_box
close_program "$prog"
card_has "$prog/KRT/Brief.rtf" "Gerettet" || fail "recovered text not written: $(card_text "$prog/KRT/Brief.rtf")"
card_has "$prog/KRT/Brief.rtf" "sofort Hallo" || fail "keys typed after the start lost: $(card_text "$prog/KRT/Brief.rtf")"
[ -z "$(ls "$RECOVERY")" ] || fail "recovery left after a normal end: $(ls "$RECOVERY")"
ok "kill -9: typed text recovered at the next start"

# A recovery whose card is gone becomes a new card.
open_program "$prog"
xdotool type --delay 20 "Waise "
wait_until 100 sh -c "ls '$RECOVERY'/*.rtf >/dev/null 2>&1" || fail "no recovery file written"
kill -9 "$PROGRAM_PID"
wait_until 50 test -f "$prog/exit-code" || fail "program survived kill -9"
rm "$prog/KRT/Brief.rtf"
open_program "$prog"
no_box
close_program "$prog"
card_has "$prog/KRT/Brief.rtf" "Waise" || fail "orphaned recovery not made a card: $(ls "$prog/KRT")"
ok "a recovery without its card becomes a new card"

# A sync engine's conflict copy: a card of its own right after its card,
# said in the strip (no box), nothing merged or deleted.
prog=$(make_program_folder "$BIN")
mkdir "$prog/KRT"; other_program_writes "$prog/KRT/Brief.rtf" "Hier"
other_program_writes "$prog/KRT/Brief.sync-conflict-20261210-101000-ABCDEF7.rtf" "Dort"
open_program "$prog"
no_box
xdotool key ctrl+End; xdotool type --delay 20 " eins"
xdotool key ctrl+Tab
wait_until 50 editor_shows "Dort" || fail "the conflict copy is not the card after its card"
xdotool key ctrl+End; xdotool type --delay 20 " zwei"
close_program "$prog"
card_has "$prog/KRT/Brief.rtf" "Hier eins" || fail "card: $(card_text "$prog/KRT/Brief.rtf")"
card_has "$prog/KRT/Brief.sync-conflict-20261210-101000-ABCDEF7.rtf" "Dort zwei" || fail "conflict copy not kept as its own card"
[ "$(ls "$prog/KRT" | wc -l)" = 2 ] || fail "cards made or lost: $(ls "$prog/KRT")"
ok "a conflict copy follows its card and stays a card of its own"

# Pasted HTML naming a device as picture: nothing is read, the program goes on.
prog=$(make_program_folder "$BIN")
mkdir "$prog/KRT"; other_program_writes "$prog/KRT/Brief.rtf" "Anfang"
open_program "$prog"
printf '<p>Bild <img src="/dev/zero"> <img src="file:///dev/urandom"></p>' | xclip -selection clipboard -t text/html
xdotool key ctrl+End ctrl+v
xdotool type --delay 20 " Danach"
close_program "$prog"
card_has "$prog/KRT/Brief.rtf" "Danach" || fail "pasting a device picture stopped the program"
ok "pasted pictures never read local files"

# A stored size far beyond the screen: the window fits and its title bar is reachable.
prog=$(make_program_folder "$BIN")
mkdir "$prog/KRT"
printf '[Ansicht]\nBreite=99999999\nH\xf6he=99999999\n' >"$prog/Kartolino.ini"
open_program "$prog"
# window_fits -> the main window with its frame lies on the 1280 x 1024 screen
window_fits() {
  local info x y w h left right top bottom
  info=$(xwininfo -id "$WIN")
  x=$(echo "$info" | sed -n 's/.*Absolute upper-left X: *//p'); y=$(echo "$info" | sed -n 's/.*Absolute upper-left Y: *//p')
  w=$(echo "$info" | sed -n 's/^ *Width: *//p'); h=$(echo "$info" | sed -n 's/^ *Height: *//p')
  read -r left right top bottom < <(xprop -id "$WIN" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  FRAME="$((x - left)),$((y - top)) $((w + left + right))x$((h + top + bottom))"
  [ $((x - left)) -ge 0 ] && [ $((y - top)) -ge 0 ] && [ $((x + w + right)) -le 1280 ] && [ $((y + h + bottom)) -le 1024 ]
}
wait_until 50 window_fits || fail "window off screen: frame $FRAME"
close_program "$prog"
ok "an oversized stored window fits the screen"
