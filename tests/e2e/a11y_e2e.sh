#!/usr/bin/env bash
# Runs the real program with the accessibility bridge on a private session
# bus and reads it as a screen reader does: a page tab per card, named by
# the card; pressing the second tab's action writes the first card's change
# and selects the second tab.
source "$(dirname "$0")/lib.sh"
probe() { /usr/bin/python3 "$(dirname "$0")/a11y_probe.py" "$@"; }
start_window_manager

# The accessibility bus and its registry on the private session bus.
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$E2E_TMP/at-spi.log" 2>&1 &
PIDS+=($!)
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

prog=$(make_program_folder "$1")
mkdir "$prog/KRT"
printf '{\\rtf1\\ansi Erste Karte}' >"$prog/KRT/Eins.rtf"
printf '{\\rtf1\\ansi Zweite Karte}' >"$prog/KRT/Zwei.rtf"
# The tab row stands in name order.
first_tab=Eins
second_tab=Zwei

start_program "$prog"
win=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no minimised main window"
first_show "$win"

names=$(probe tabs) || fail "tree not read: $names"
[ "$(printf '%s\n' "$names" | sort)" = "$(printf '%s\n%s\n' "$first_tab" "$second_tab" | sort)" ] \
  || fail "page tabs are not the cards: $names"
ok "a page tab per card, named by the card"

xdotool type --delay 30 "Hallo "
probe press "$second_tab" || fail "pressing $second_tab failed"
wait_until 100 card_has "$prog/KRT/$first_tab.rtf" "Hallo" \
  || fail "leaving card not written: $(cat "$prog/KRT/$first_tab.rtf")"
wait_until 100 probe selected "$second_tab" || fail "$second_tab not selected after its press"
ok "the press action switches cards as a click does"

code=$(close_window "$win" "$prog") || fail "program did not end"
[ "$code" = 0 ] || fail "exit code $code"
