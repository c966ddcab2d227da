#!/usr/bin/env bash
# One program per user and card folder. A second start on the same card
# folder, from another session too, says "Anwendung läuft bereits!!!!!", ends
# with 0 and brings the running program's window up; a program on another
# card folder runs beside it. A termination signal still writes the changed
# card, and a killed program leaves no lock behind.
source "$(dirname "$0")/lib.sh"
start_window_manager

prog=$(make_program_folder "$1")
mkdir "$prog/KRT"
printf 'Text\n' >"$prog/KRT/Karte.rtf"
start_program "$prog"
first_pid=$PROGRAM_PID
win=$(wait_for_window "$first_pid" '^Kartolino$' 80) || fail "first instance has no window"
wait_until 100 iconic "$win" || fail "first instance not minimised at start: $(wm_state "$win")"

# Another program copy whose settings name the same card folder, started from
# a session with a runtime folder of its own.
second=$(make_program_folder "$1")
printf '[Karten]\nOrdner=%s\n' "$prog/KRT" >"$second/Kartolino.ini"
mkdir -m 700 "$E2E_TMP/runtime2"
XDG_RUNTIME_DIR="$E2E_TMP/runtime2" start_program "$second"
dialog=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no message from the second start"
xwininfo -id "$dialog" | matches 'IsViewable' || fail "message not visible"
iconic "$win" || fail "first instance came up before the message was closed"
xdotool windowactivate --sync "$dialog" 2>/dev/null || true
xdotool key Return 2>/dev/null || true
code=$(wait_for_exit "$second") || fail "second start did not end"
[ "$code" = 0 ] || fail "second start ended with $code"
[ ! -e "$second/KRT" ] || fail "second start made a card folder"
kill -0 "$first_pid" || fail "first instance ended"
ok "second start on the same card folder refused with exit code 0"

# The running program's window is up: restored, its first show done, active.
up_and_active() { ! iconic "$win" && caption_shown "$win" && window_active "$win"; }
wait_until 100 up_and_active || fail "window not brought up: $(wm_state "$win"), $(xdotool getwindowname "$win")"
ok "the refused start brought the running window up"

# A program on a card folder of its own (given on the command line) runs beside it.
third=$(make_program_folder "$1")
mkdir "$E2E_TMP/Karten dort"
printf 'Dort\n' >"$E2E_TMP/Karten dort/Dort.rtf"
start_program "$third" --kartenordner "$E2E_TMP/Karten dort"
third_win=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "program on another card folder has no window"
first_show "$third_win"
xdotool type --delay 30 "hier "
[ "$(close_window "$third_win" "$third")" = 0 ] || fail "third program did not end with 0"
card_has "$E2E_TMP/Karten dort/Dort.rtf" "hier" || fail "the command line's card folder was not used"
[ ! -e "$third/KRT" ] || fail "a KRT folder was made beside the program"
ok "a program on another card folder runs beside the first"

focus_window "$win"
xdotool type --delay 30 "vor dem Ende"
keys_taken "$first_pid"
kill -TERM "$first_pid"
code=$(wait_for_exit "$prog") || fail "SIGTERM did not end the program"
[ "$code" = 0 ] || fail "exit code $code after SIGTERM"
card_text "$prog/KRT/Karte.rtf" | matches "vor dem Ende" || fail "SIGTERM lost the typed text"
ok "SIGTERM writes the changed card"

# After the kill the lock is free again.
rm -f "$prog/exit-code"
start_program "$prog"
wait_for_window "$PROGRAM_PID" '^Kartolino$' 80 >/dev/null || fail "no start after the first ended"
kill -KILL "$PROGRAM_PID"
wait_until 50 process_gone "$PROGRAM_PID" || fail "SIGKILL did not end the program"
start_program "$prog"
win=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "a killed instance left its lock behind"
[ "$(wm_state "$win")" = Iconic ] || fail "start after kill is not the normal start"
ok "no stale lock after kill"
