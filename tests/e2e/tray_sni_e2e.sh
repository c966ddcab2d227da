#!/usr/bin/env bash
# A StatusNotifierItem host on a private session bus: the program's tray item
# carries the icon name of its desktop entry and the tip "Kartolino anzeigen",
# and activating it brings up the window (first show).
source "$(dirname "$0")/lib.sh"
program=$1 probe=$2
start_window_manager
# The click on the item comes once the program's window is up, minimised,
# as a user clicks an icon they see.
export SNI_ACTIVATE_WHEN="$E2E_TMP/click"
"$probe" >"$E2E_TMP/sni.log" 2>&1 &
PIDS+=($!)
wait_until 50 grep -q '^ready' "$E2E_TMP/sni.log" || fail "watcher probe: $(cat "$E2E_TMP/sni.log")"

prog=$(make_program_folder "$program")
start_program "$prog"
wait_until 100 grep -q '^ToolTip=' "$E2E_TMP/sni.log" || fail "no item registered: $(cat "$E2E_TMP/sni.log")"
grep -qx 'IconName=example.fennwick.Kartolino' "$E2E_TMP/sni.log" || fail "icon name: $(cat "$E2E_TMP/sni.log")"
grep -qx 'ToolTip=Kartolino anzeigen' "$E2E_TMP/sni.log" || fail "tip: $(cat "$E2E_TMP/sni.log")"
ok "item with icon name and tip"

win=$(wait_for_window "$PROGRAM_PID" 'Kartolino' 300) || fail "no main window"
wait_until 100 iconic "$win" || fail "the window did not start minimised: $(wm_state "$win")"
touch "$SNI_ACTIVATE_WHEN"
wait_until 100 grep -q '^activated' "$E2E_TMP/sni.log" || fail "the item was not activated: $(cat "$E2E_TMP/sni.log")"
wait_until 50 caption_shown "$win" || fail "activating the item did not bring up the window: $(xdotool getwindowname "$win")"
ok "activating the item shows the window"
focus_window "$win"
code=$(close_window "$win" "$prog") || fail "program did not end"
[ "$code" = 0 ] || fail "exit code $code"
