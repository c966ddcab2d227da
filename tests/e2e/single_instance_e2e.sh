#!/usr/bin/env bash
# A second start says "Anwendung läuft bereits!!!!!" and ends with 0; the first
# keeps running untouched. A termination signal still writes the changed card.
source "$(dirname "$0")/lib.sh"
start_window_manager

prog=$(make_program_folder "$1")
mkdir "$prog/KRT"
printf 'Text\n' >"$prog/KRT/Karte.rtf"
start_program "$prog"
first_pid=$PROGRAM_PID
win=$(wait_for_window "$first_pid" '^Kartolino$' 80) || fail "first instance has no window"
wait_until 100 iconic "$win" || fail "first instance not minimised at start: $(wm_state "$win")"

second=$(make_program_folder "$1")
start_program "$second"
dialog=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no message from the second start"
xwininfo -id "$dialog" | matches 'IsViewable' || fail "message not visible"
import -window "$dialog" "$E2E_TMP/dialog.png" 2>/dev/null || true
xdotool windowactivate --sync "$dialog" 2>/dev/null || true
xdotool key Return 2>/dev/null || true
code=$(wait_for_exit "$second") || fail "second start did not end"
[ "$code" = 0 ] || fail "second start ended with $code"
[ ! -e "$second/KRT" ] || fail "second start touched its card folder"
kill -0 "$first_pid" || fail "first instance ended"
[ "$(wm_state "$win")" = Iconic ] || fail "first instance changed state"
ok "second start refused with exit code 0"

first_show "$win"
xdotool type --delay 30 "vor dem Ende"
keys_taken "$first_pid"
kill -TERM "$first_pid"
code=$(wait_for_exit "$prog") || fail "SIGTERM did not end the program"
[ "$code" = 0 ] || fail "exit code $code after SIGTERM"
card_text "$prog/KRT/Karte.rtf" | matches "vor dem Ende" || fail "SIGTERM lost the typed text"
ok "SIGTERM writes the changed card"

# After the kill the lock is free again.
start_program "$prog"
wait_for_window "$PROGRAM_PID" '^Kartolino$' 80 >/dev/null || fail "no start after the first ended"
kill -KILL "$PROGRAM_PID"
wait_until 50 process_gone "$PROGRAM_PID" || fail "SIGKILL did not end the program"
start_program "$prog"
win=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "a killed instance left its lock behind"
[ "$(wm_state "$win")" = Iconic ] || fail "start after kill is not the normal start"
ok "no stale lock after kill"
