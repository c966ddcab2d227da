#!/usr/bin/env bash
# A card folder that other programs and sync engines share: files that are
# no regular files, files that arrive, outside writes to the current card.
source "$(dirname "$0")/lib.sh"
export XDG_STATE_HOME="$E2E_TMP/state" XDG_CONFIG_HOME="$E2E_TMP/config" XDG_CACHE_HOME="$E2E_TMP/cache"
start_window_manager
BIN=$1

# --- A card replaced by a FIFO while the program runs: the find index reads
# every card at the first key in the find bar and must not wait for a writer.
prog=$(make_program_folder "$BIN")
mkdir "$prog/KRT"
printf '{\\rtf1\\ansi Apfel}' >"$prog/KRT/Eins.rtf"
printf '{\\rtf1\\ansi Birne}' >"$prog/KRT/Zwei.rtf"
tabs=(Eins.rtf Zwei.rtf) # the tab row stands in name order
open_program "$prog"
rm "$prog/KRT/${tabs[1]}"
mkfifo "$prog/KRT/${tabs[1]}"
xdotool key ctrl+f
xdotool type --delay 30 "apfel"
xdotool key Escape
xdotool key ctrl+End
xdotool type --delay 30 " Quitte"
keys_taken "$PROGRAM_PID"
close_program "$prog"
card_has "$prog/KRT/${tabs[0]}" "Quitte" || fail "keys after the find bar lost: $(card_text "$prog/KRT/${tabs[0]}")"
[ -p "$prog/KRT/${tabs[1]}" ] || fail "the FIFO was replaced"
ok "a FIFO card does not block the find bar"

other_program_writes() {
  printf '{\\rtf1\\ansi %s}' "$2" >"$1.new"
  mv "$1.new" "$1"
}
# press_in_box TITLE KEY -> the box of that title comes; KEY is pressed until it goes
press_in_box() {
  local box
  box=$(wait_for_window "$PROGRAM_PID" "^$1\$" 80) || fail "no box \"$1\""
  for _ in $(seq 50); do
    xdotool search --all --onlyvisible --pid "$PROGRAM_PID" --name "^$1\$" >/dev/null 2>&1 || return 0
    xdotool windowactivate --sync "$box" 2>/dev/null || true
    xdotool key "$2"
    sleep 0.1
  done
  fail "box \"$1\" stays"
}

# --- "Neu" with the name of a file that arrived after the start: refused as
# taken, the file stays as it came.
prog=$(make_program_folder "$BIN")
mkdir "$prog/KRT"; other_program_writes "$prog/KRT/Eins.rtf" "Eins"
open_program "$prog"
other_program_writes "$prog/KRT/Neue Karte.rtf" "Angekommen"
before=$(md5sum <"$prog/KRT/Neue Karte.rtf")
xdotool key alt+k n
press_in_box "Neue Karte anlegen" Return
press_in_box "Fehler" Return
press_in_box "Neue Karte anlegen" Escape
close_program "$prog"
[ "$before" = "$(md5sum <"$prog/KRT/Neue Karte.rtf")" ] || fail "the arrived file was replaced: $(card_text "$prog/KRT/Neue Karte.rtf")"
ok "a new card never replaces a file that arrived"

# open_brief_typed -> a program on a card "Brief" ("Anfang") with " Meins"
# typed at its end, every key taken
open_brief_typed() {
  prog=$(make_program_folder "$BIN")
  mkdir "$prog/KRT"; other_program_writes "$prog/KRT/Brief.rtf" "Anfang"
  open_program "$prog"
  xdotool key ctrl+End; xdotool type --delay 20 " Meins"
  keys_taken "$PROGRAM_PID"
}

# --- Nothing typed since a save point: another program's write is shown
# (a minimise writes the card but leaves it marked as changed).
open_brief_typed
xdotool windowminimize "$WIN"
wait_until 100 card_has "$prog/KRT/Brief.rtf" "Meins" || fail "minimising did not write the card"
focus_window "$WIN"
other_program_writes "$prog/KRT/Brief.rtf" "Vom anderen Rechner"
wait_until 100 editor_shows "Vom anderen Rechner" || fail "the outside write is not shown after a save point"
close_program "$prog"
[ "$(ls "$prog/KRT")" = "Brief.rtf" ] || fail "copies made: $(ls "$prog/KRT")"
card_has "$prog/KRT/Brief.rtf" "Vom anderen Rechner" || fail "card: $(card_text "$prog/KRT/Brief.rtf")"
ok "an outside write after a save point is loaded, no copy"

# --- Typed, then the file is touched and rewritten with the same bytes:
# no conflict, no copy.
open_brief_typed
touch -d '2001-01-01' "$prog/KRT/Brief.rtf"
cp -p "$prog/KRT/Brief.rtf" "$prog/KRT/Brief.rtf.new"; mv "$prog/KRT/Brief.rtf.new" "$prog/KRT/Brief.rtf"
chmod 600 "$prog/KRT/Brief.rtf"
close_program "$prog"
[ "$(ls "$prog/KRT")" = "Brief.rtf" ] || fail "copies made for identical bytes: $(ls "$prog/KRT")"
card_has "$prog/KRT/Brief.rtf" "Anfang Meins" || fail "card: $(card_text "$prog/KRT/Brief.rtf")"
ok "identical bytes cause nothing"

# --- Steady typing without pauses is recovered after kill -9; a card changed
# meanwhile (a sync delivered another machine's edit) keeps both texts.
prog=$(make_program_folder "$BIN")
mkdir "$prog/KRT"; other_program_writes "$prog/KRT/Brief.rtf" "Anfang"
RECOVERY="$XDG_STATE_HOME/Kartolino"
open_program "$prog"
xdotool key ctrl+End
# Far more than ten seconds of typing, a key every 150 ms.
xdotool type --delay 150 " $(printf 'Wort%.0s ' $(seq 30))Ende" &
typist=$!
PIDS+=($typist)
wait_until 300 sh -c "ls '$RECOVERY'/*.rtf >/dev/null 2>&1" || fail "no recovery while typing went on"
kill -0 "$typist" 2>/dev/null || fail "typing ended before the recovery: the check proves nothing"
kill "$typist" 2>/dev/null || true
recovered=$(card_text "$RECOVERY"/*.rtf)
kill -9 "$PROGRAM_PID"
wait_until 50 test -f "$prog/exit-code" || fail "program survived kill -9"
echo "$recovered" | matches "Anfang Wort" || fail "recovery holds: $recovered"
other_program_writes "$prog/KRT/Brief.rtf" "Vom anderen Rechner"
rm -f "$prog/exit-code"
start_program "$prog"
WIN=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no main window"
restore_window "$WIN"
# What became of the recovered text is said in the strip above the editor,
# never in a box that would take the keys.
focus_window "$WIN"
close_program "$prog"
card_has "$prog/KRT/Brief.rtf" "Vom anderen Rechner" || fail "the changed card was overwritten: $(card_text "$prog/KRT/Brief.rtf")"
card_has "$prog/KRT/Brief (wiederhergestellt).rtf" "Anfang Wort" \
  || fail "recovered text not kept beside the card: $(ls "$prog/KRT")"
ok "steady typing recovered; a changed card keeps both texts"

# --- Save points against outside writes landing around them: whatever the
# timing, neither the typed words nor the other program's text vanish.
prog=$(make_program_folder "$BIN")
mkdir "$prog/KRT"
filler=$(head -c 300000 /dev/zero | tr '\0' 'x')
other_program_writes "$prog/KRT/Brief.rtf" "Anfang $filler"
# Brief is the first tab: the tab row stands in name order.
other_program_writes "$prog/KRT/Zweite.rtf" "Zweite"
open_program "$prog"
in_some_card() { grep -l -- "$1" "$prog"/KRT/*.rtf >/dev/null 2>&1; }
box_shown() { xdotool search --all --onlyvisible --pid "$PROGRAM_PID" --name '^Information$' >/dev/null 2>&1; }
# The other program's text is never lost; the typed words are lost only when
# the other program's write came after the save point (its file is then
# exactly what it wrote).
both_kept() {
  in_some_card "Fremd$1" && { in_some_card "Wort$1" || cmp -s "$prog/KRT/Brief.rtf" "$E2E_TMP/fremd$1"; }
}
# settled -> every key sent so far is taken and the notices that came are
# confirmed (a copy's notice may come a moment after the save point)
more_shown() { [ "$(visible_windows "$PROGRAM_PID")" -gt "$1" ]; }
settled() {
  local before
  for _ in $(seq 20); do
    if box_shown; then press_in_box "Information" Return; focus_window "$WIN"; continue; fi
    before=$(visible_windows "$PROGRAM_PID")
    xdotool key alt+a
    # A menu bar left holding the keyboard (Escape twice may leave it so)
    # ignores the key: it lets go at Escape, and the window takes the keys again.
    if ! wait_until 50 more_shown "$before"; then
      xdotool key Escape
      focus_window "$WIN"
      continue
    fi
    box_shown && continue
    xdotool key Escape Escape
    wait_until 50 sh -c "[ \$(xdotool search --onlyvisible --pid $PROGRAM_PID 2>/dev/null | wc -l) -le $before ]" && return 0
  done
  fail "the program does not settle; its windows: $(for w in $(xdotool search --onlyvisible --pid "$PROGRAM_PID" 2>/dev/null); do
    xdotool getwindowname "$w"; done | tr '\n' '|'), running: $(process_gone "$PROGRAM_PID" && echo no || echo yes)"
}
for i in 1 2 3 4 5 6 7 8; do
  xdotool key ctrl+Home; xdotool type --delay 10 "Wort$i "
  settled
  printf '{\\rtf1\\ansi %s}' "Fremd$i $filler" >"$E2E_TMP/fremd$i"
  ( sleep "0.0$((RANDOM % 6))"; cp "$E2E_TMP/fremd$i" "$prog/KRT/Brief.rtf.new"; mv "$prog/KRT/Brief.rtf.new" "$prog/KRT/Brief.rtf" ) &
  xdotool key ctrl+Tab
  wait $!
  settled
  both_kept "$i" || fail "round $i lost text: $(grep -c . "$prog"/KRT/*.rtf | tr '\n' ' ')"
  xdotool key ctrl+Tab
  settled
done
close_program "$prog"
ok "8 rounds of outside writes around save points: nothing lost ($(ls "$prog/KRT" | wc -l) cards)"

# --- From here on the tab row is read as a screen reader reads it.
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$E2E_TMP/at-spi.log" 2>&1 &
PIDS+=($!)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
probe() { /usr/bin/python3 "$(dirname "$0")/a11y_probe.py" "$@"; }
# tabs_are NAME... -> the tab row holds exactly these tabs, in this order
tabs_are() { [ "$(probe tabs 2>/dev/null)" = "$(printf '%s\n' "$@")" ]; }

# --- Other programs rename and remove cards, deliver a conflict copy and
# write a card slowly, all while the program runs: the tab row follows, the
# files stay as those programs left them.
prog=$(make_program_folder "$BIN")
mkdir "$prog/KRT"
for name in Apfel Birne Dattel Feige; do other_program_writes "$prog/KRT/$name.rtf" "$name"; done
open_program "$prog"
printf '{\\rtf1\\ansi Anfang der Karte \\par' >"$prog/KRT/Langsam.rtf"
mv "$prog/KRT/Birne.rtf" "$prog/KRT/Zitrone.rtf"
rm "$prog/KRT/Dattel.rtf"
other_program_writes "$prog/KRT/Apfel.sync-conflict-20261210-101000-ABCDEFG.rtf" "Apfel dort"
# The half-written card settled before the conflict copy did: only its open RTF holds it back.
copy="Apfel (Konflikt 10.12.2026 10:10)"
wait_until 150 tabs_are Apfel "$copy" Feige Zitrone || fail "tabs: $(probe tabs | tr '\n' '|')"
printf ' Ende der Karte}' >>"$prog/KRT/Langsam.rtf"
wait_until 150 tabs_are Apfel "$copy" Feige Langsam Zitrone || fail "the slow card: $(probe tabs | tr '\n' '|')"
probe press Langsam || fail "pressing Langsam failed"
whole() { editor_shows "Anfang der Karte" && editor_shows "Ende der Karte"; }
wait_until 100 whole || fail "the slow card is not whole in the editor"
close_program "$prog"
[ "$(ls "$prog/KRT" | tr '\n' '|')" = "Apfel.rtf|Apfel.sync-conflict-20261210-101000-ABCDEFG.rtf|Feige.rtf|Langsam.rtf|Zitrone.rtf|" ] \
  || fail "files: $(ls "$prog/KRT" | tr '\n' '|')"
card_has "$prog/KRT/Zitrone.rtf" "Birne" || fail "the renamed card: $(card_text "$prog/KRT/Zitrone.rtf")"
ok "renames, removals, a conflict copy and a slowly written card are followed while running"

# --- The current card renamed outside while text is typed in it: the save
# point writes the text under the new name, never back under the old one.
open_brief_typed
mv "$prog/KRT/Brief.rtf" "$prog/KRT/Post.rtf"
wait_until 150 tabs_are Post || fail "the tab does not follow: $(probe tabs | tr '\n' '|')"
xdotool windowminimize "$WIN"
wait_until 100 card_has "$prog/KRT/Post.rtf" "Anfang Meins" || fail "the typed text is not in the new name's file"
focus_window "$WIN"
close_program "$prog"
[ "$(ls "$prog/KRT")" = "Post.rtf" ] || fail "files: $(ls "$prog/KRT" | tr '\n' '|')"
ok "the current card renamed outside keeps the typed text under its new name"
