#!/usr/bin/env bash
# Card files as Linux spells them: names the listing finds in any case or
# byte encoding, names as long as the file system allows, RTF holding binary
# data, leftovers of a killed write, and card names that are no regular file.
source "$(dirname "$0")/lib.sh"
start_window_manager

# restore_program DIR -> starts the program and restores it; sets win
restore_program() {
  start_program "$1"
  win=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no main window"
  first_show "$win"
}

# other_window PID MAIN NAME-REGEX -> a window of PID named so that is not MAIN
other_window() {
  local pid=$1 main=$2 name=$3 w
  for _ in $(seq 100); do
    for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true); do
      [ "$w" != "$main" ] && xdotool getwindowname "$w" 2>/dev/null | matches -E "$name" && { echo "$w"; return 0; }
    done
    sleep 0.1
  done
  return 1
}

close_program() {
  xdotool windowactivate --sync "$2" 2>/dev/null || true
  xdotool key alt+F4
  local code
  code=$(wait_for_exit "$1") || fail "program did not end"
  [ "$code" = 0 ] || fail "exit code $code"
}

# --- Names found in the folder are read and written back in the same file;
# a card with binary picture data loads whole.
prog=$(make_program_folder "$1")
mkdir "$prog/KRT"
printf '{\\rtf1\\ansi Gross}' >"$prog/KRT/Notiz.RTF"
printf '{\\rtf1\\ansi Koeln}' >"$prog/KRT/K"$'\xf6'"ln.rtf"
printf '{\\rtf1\\ansi Termin}' >"$prog/KRT/12:30 Termin.rtf"
printf '{\\rtf1\\ansi Vorher {\\*\\bild\\bin4 \0\0\0\0} Nachher}' >"$prog/KRT/Bild.rtf"
before=$(ls -A "$prog/KRT" | sort)
restore_program "$prog"
for _ in 1 2 3 4; do
  xdotool type --delay 30 "Z"
  xdotool key ctrl+Tab
done
keys_taken "$PROGRAM_PID"
close_program "$prog" "$win"
[ "$before" = "$(ls -A "$prog/KRT" | sort)" ] || fail "card files not written back in place: $(ls -A "$prog/KRT")"
for f in "$prog"/KRT/*; do card_has "$f" Z || fail "typing did not reach $(basename "$f"): $(cat "$f")"; done
card_has "$prog/KRT/Bild.rtf" Nachher || fail "binary data cut the card: $(cat "$prog/KRT/Bild.rtf")"
ok "upper-case extension, Windows-1252 name, colon and binary data: each card loads and is written back to its file"

# --- A name as long as the file system allows is written; a longer one is
# refused with a message and the command asks again.
prog=$(make_program_folder "$1")
mkdir "$prog/KRT"
printf 'Text\n' >"$prog/KRT/Karte.rtf"
restore_program "$prog"
long=$(printf 'a%.0s' $(seq 251))
xdotool key alt+k n
box=$(other_window "$PROGRAM_PID" "$win" '^Neue Karte anlegen$') || fail "no input box"
xdotool type --delay 2 "$long"
xdotool key Return
wait_until 50 test -f "$prog/KRT/$long.rtf" || fail "a 251-character card was not written"
xdotool key alt+k n
box=$(other_window "$PROGRAM_PID" "$win" '^Neue Karte anlegen$') || fail "no second input box"
xdotool type --delay 2 "${long}b"
xdotool key Return
msg=$(other_window "$PROGRAM_PID" "$win" '^Fehler$') || fail "a 252-character name was not refused"
xdotool windowactivate --sync "$msg" 2>/dev/null || true
xdotool key Return
box=$(other_window "$PROGRAM_PID" "$win" '^Neue Karte anlegen$') || fail "input box not asked again"
xdotool windowactivate --sync "$box" 2>/dev/null || true
xdotool key Escape
wait_until 50 sh -c "! xdotool search --onlyvisible --name '^Neue Karte anlegen\$' >/dev/null" || fail "input box stays"
xdotool type --delay 30 "Lang"
close_program "$prog" "$win"
card_has "$prog/KRT/$long.rtf" Lang || fail "closing did not write the long card"
[ "$(ls -A "$prog/KRT" | wc -l)" = 2 ] || fail "unexpected files: $(ls -A "$prog/KRT")"
ok "251 characters are a card that is written and closed; 252 are refused"

# --- A write killed part way leaves the card whole, and the next start
# removes its temporary file and nothing else.
prog=$(make_program_folder "$1")
mkdir "$prog/KRT"
printf '{\\rtf1\\ansi Alt}' >"$prog/KRT/Eins.rtf"
printf '{\\rtf1\\ansi Zwei}' >"$prog/KRT/Zwei.rtf"
printf 'mine' >"$prog/KRT/.kartolino-notes.txt"
printf 'mine' >"$prog/KRT/Alt.tmp"
mkdir "$prog/KRT/.kartolino-Dir123.tmp"
( set +e; strace -f -o /dev/null -e trace=fsync -e inject=fsync:delay_enter=30000000 \
    "$prog/Kartolino" >"$prog/out.log" 2>&1; echo $? >"$prog/exit-code" ) &
PIDS+=($!)
wait_until 100 pgrep -f -n "^$prog/Kartolino\$" >/dev/null || fail "traced program did not start"
PROGRAM_PID=$(pgrep -f -n "^$prog/Kartolino\$")
win=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 150) || fail "no main window under strace"
first_show "$win"
cards_before=$(md5sum "$prog"/KRT/*.rtf)
xdotool type --delay 30 "Neu"
xdotool key ctrl+Tab
debris() { ls -A "$prog/KRT" | matches -E '^\.kartolino-[A-Za-z0-9]{6}\.tmp$' && [ -f "$prog/KRT/$(ls -A "$prog/KRT" | grep -E '^\.kartolino-[A-Za-z0-9]{6}\.tmp$' | grep -v Dir123 | head -1)" ]; }
wait_until 100 debris || fail "no write under way"
tracer=$(ps -o ppid= -p "$PROGRAM_PID" | tr -d ' ')
# The program is held in the fsync of its temporary file. SIGKILL waits
# while it is stopped for the tracer; it strikes once the tracer is gone.
kill -KILL "$PROGRAM_PID"
kill -KILL "$tracer"
wait_until 50 sh -c "! kill -0 $PROGRAM_PID 2>/dev/null" || fail "kill -9 did not end the program"
wait_for_exit "$prog" >/dev/null || fail "killed program still there"
[ "$cards_before" = "$(md5sum "$prog"/KRT/*.rtf)" ] || fail "a killed write damaged a card"
rm -f "$prog/exit-code"
restore_program "$prog"
[ "$(ls -A "$prog/KRT" | sort | tr '\n' ' ')" = ".kartolino-Dir123.tmp .kartolino-notes.txt Alt.tmp Eins.rtf Zwei.rtf " ] \
  || fail "after the start the folder holds: $(ls -A "$prog/KRT")"
close_program "$prog" "$win"
ok "kill -9 during a write: card whole, its temporary file removed at the next start, other files kept"

# --- A card that is a FIFO or a link to /dev/zero is refused with a message;
# the program goes on and ends normally.
prog=$(make_program_folder "$1")
mkdir "$prog/KRT"
mkfifo "$prog/KRT/Rohr.rtf"
ln -s /dev/zero "$prog/KRT/Null.rtf"
start_program "$prog"
win=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no main window"
xdotool windowactivate --sync "$win" 2>/dev/null || true
for card in first second; do
  box=$(other_window "$PROGRAM_PID" "$win" '^Kartolino$') || fail "no error box for the $card card"
  xdotool windowactivate --sync "$box" 2>/dev/null || true
  xdotool key Return
  wait_until 50 sh -c "! xwininfo -id $box 2>/dev/null | grep -q IsViewable" || fail "error box stays"
  xdotool windowactivate --sync "$win" 2>/dev/null || true
  [ $card = first ] && xdotool key ctrl+Tab
done
close_program "$prog" "$win"
ok "FIFO and /dev/zero cards refused, the program goes on"

# --- Without a runtime folder the lock lives in a cache folder of mode 0700
# that only this user can write, and a second start is still refused. The
# hand-off names a card whose name is not UTF-8 by its very bytes.
prog=$(make_program_folder "$1")
mkdir "$prog/KRT"
printf '{\\rtf1\\ansi Koeln}' >"$prog/KRT/K"$'\xf6'"ln.rtf"
mkdir "$E2E_TMP/bin"
printf '#!/bin/sh\nprintf "%%s\\n" "$1" >>"%s"\n' "$E2E_TMP/opened" >"$E2E_TMP/bin/xdg-open"
chmod +x "$E2E_TMP/bin/xdg-open"
saved_runtime=$XDG_RUNTIME_DIR saved_path=$PATH
unset XDG_RUNTIME_DIR
export XDG_CACHE_HOME="$E2E_TMP/cache" PATH="$E2E_TMP/bin:$PATH"
restore_program "$prog"
[ "$(stat -c '%a %U' "$XDG_CACHE_HOME/Kartolino")" = "700 $(id -un)" ] || fail "lock folder: $(stat -c '%a %U' "$XDG_CACHE_HOME/Kartolino" 2>&1)"
ls "$XDG_CACHE_HOME/Kartolino" | matches '^Kartolino-.*\.lock$' || fail "no lock in the cache folder"
first_pid=$PROGRAM_PID
second=$(make_program_folder "$1")
start_program "$second" --kartenordner "$prog/KRT"
dialog=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no message from the second start"
xdotool windowactivate --sync "$dialog" 2>/dev/null || true
xdotool key Return
wait_for_exit "$second" >/dev/null || fail "second start not refused"
[ ! -e "$second/KRT" ] || fail "second start ran"
PROGRAM_PID=$first_pid
xdotool windowactivate --sync "$win" 2>/dev/null || true
xdotool key alt+k t
wait_until 50 test -s "$E2E_TMP/opened" || fail "no hand-off"
opened=$(head -1 "$E2E_TMP/opened")
path=$(printf '%b' "$(printf '%s' "${opened#file://}" | sed 's/%/\\x/g')")
[ "$path" = "$prog/KRT/K"$'\xf6'"ln.rtf" ] || fail "hand-off names $opened"
close_program "$prog" "$win"
export XDG_RUNTIME_DIR=$saved_runtime PATH=$saved_path
ok "lock in a private cache folder without XDG_RUNTIME_DIR; hand-off reaches a Windows-1252 name"
