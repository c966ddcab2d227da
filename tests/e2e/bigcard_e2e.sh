#!/usr/bin/env bash
# A card of 1,000,000 empty paragraphs: it opens, takes a word typed at its
# end, and the close writes it with every paragraph, each step in bounded time.
source "$(dirname "$0")/lib.sh"
export XDG_STATE_HOME="$E2E_TMP/state" XDG_CONFIG_HOME="$E2E_TMP/config" XDG_CACHE_HOME="$E2E_TMP/cache"
start_window_manager

prog=$(make_program_folder "$1")
mkdir "$prog/KRT"
card="$prog/KRT/Gross.rtf"
{ printf '{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard\\f0\\fs20 Anfang\\par\n'
  awk 'BEGIN { for (i = 0; i < 1000000; i++) print "\\par" }'
  printf '}'; } >"$card"

start_program "$prog"
# Generous bounds: the load alone takes seconds, more on a loaded machine.
win=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 1200) || fail "no main window"
first_show "$win"
xdotool key ctrl+End
xdotool type --delay 50 "TIPP"
xdotool windowactivate --sync "$win" 2>/dev/null || true
xdotool key alt+F4
[ "$(wait_for_exit "$prog" 900)" = 0 ] || fail "program did not end with 0 after typing"
tail -c 200 "$card" | matches 'TIPP' || fail "the word typed at the end is not in the card: $(tail -c 200 "$card")"
paragraphs=$(grep -o '\\par' "$card" | wc -l)
[ "$paragraphs" -ge 1000000 ] || fail "the card lost paragraphs: $paragraphs left"
ok "a card of 1,000,000 paragraphs takes a word at its end and is written whole"
