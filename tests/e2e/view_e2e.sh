#!/usr/bin/env bash
# The view options: change the tab style and rows through the menu, size the
# window, save, restart, and find the saved view again.
source "$(dirname "$0")/lib.sh"
start_window_manager

prog=$(make_program_folder "$1")
mkdir "$prog/KRT"
printf 'eins' >"$prog/KRT/Eins.rtf"

restore() {
  local win
  win=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no main window"
  first_show "$win" >&2
  echo "$win"
}
outer_size() {
  # The frame window openbox put around ours is the outer size.
  local frame
  frame=$(xwininfo -id "$1" -children | sed -n 's/.*Parent window id: \(0x[0-9a-f]*\).*/\1/p')
  while [ -n "$frame" ] && [ "$(xwininfo -id "$frame" -children | sed -n 's/.*Parent window id: \(0x[0-9a-f]*\).*/\1/p')" != "$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')" ]; do
    frame=$(xwininfo -id "$frame" -children | sed -n 's/.*Parent window id: \(0x[0-9a-f]*\).*/\1/p')
  done
  xwininfo -id "${frame:-$1}" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
}

start_program "$prog"
win=$(restore)
outer_is() { [ "$(outer_size "$1")" = "$2" ]; }
# The frame reaches its size a moment after the first show.
wait_until 50 outer_is "$win" 640x480 || fail "first start is not 640 x 480 outside: $(outer_size "$win")"
ok "first start at 640 x 480"

xdotool key alt+a r        # Ansicht > Register
xdotool key alt+a m        # Ansicht > Mehrzeilig (off)
keys_taken "$PROGRAM_PID"
[ ! -e "$prog/Kartolino.ini" ] || fail "view commands wrote the settings"
client_is() { xwininfo -id "$1" | awk -v want="$2" '/Width:/ {w=$2} /Height:/ {h=$2} END {exit !(w "x" h == want)}'; }
xdotool windowsize "$win" 720 520
wait_until 100 client_is "$win" 720x520 || fail "window not sized to 720 x 520"
expected=$(outer_size "$win")
xdotool key alt+a a        # Ansicht > Ansichtsoptionen speichern
# The settings are written key by key, the height last.
height_saved() { LC_ALL=C grep -aq '^H.he=' "$prog/Kartolino.ini" 2>/dev/null; }
wait_until 100 height_saved || fail "saving wrote no settings file: $(cat -v "$prog/Kartolino.ini" 2>&1)"
grep -q '^Button=0' "$prog/Kartolino.ini" || fail "style not saved: $(cat "$prog/Kartolino.ini")"
grep -q '^Mehrzeilig=0' "$prog/Kartolino.ini" || fail "rows not saved"
grep -q '^Fenster=0' "$prog/Kartolino.ini" || fail "state not saved"
grep -q "^Breite=${expected%x*}" "$prog/Kartolino.ini" || fail "width not saved as $expected: $(cat "$prog/Kartolino.ini")"
LC_ALL=C grep -aq "^H.he=${expected#*x}" "$prog/Kartolino.ini" || fail "height not saved: $(cat -v "$prog/Kartolino.ini")"
LC_ALL=C grep -aq $'^H\xf6he=' "$prog/Kartolino.ini" || fail "the height key is not in the 8-bit form"
ok "saved view: $(tr '\r\n' '  ' <"$prog/Kartolino.ini")"

xdotool key alt+F4
wait_for_exit "$prog" >/dev/null || fail "program did not end"
saved=$(md5sum "$prog/Kartolino.ini")

start_program "$prog"
win=$(restore)
wait_until 50 outer_is "$win" "$expected" || fail "restart at $(outer_size "$win"), saved $expected"
xdotool key alt+F4
wait_for_exit "$prog" >/dev/null || fail "program did not end"
[ "$saved" = "$(md5sum "$prog/Kartolino.ini")" ] || fail "closing wrote the settings"
ok "restart shows the saved size; closing writes no settings"
