#!/usr/bin/env bash
# The spell check in the real program with the system's dictionaries: a red
# wave under a misspelled word, the suggestion in the context menu replacing
# it, and a card file that holds the right word and no underline.
source "$(dirname "$0")/lib.sh"
export XDG_STATE_HOME="$E2E_TMP/state" XDG_CONFIG_HOME="$E2E_TMP/config" XDG_CACHE_HOME="$E2E_TMP/cache"
start_window_manager
BIN=$1
[ -f /usr/share/hunspell/de_DE.dic ] || fail "hunspell-de-de is not installed (tools/deps.sh run)"

prog=$(make_program_folder "$BIN")
mkdir "$prog/KRT"
printf '{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs32 Das Hauss steht hier.\\par}' >"$prog/KRT/Notiz.rtf"
start_program "$prog"
WIN=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no main window"
first_show "$WIN"

# red_pixels -> "count minx maxx miny maxy" of the clearly red pixels in the window
red_pixels() {
  import -window "$WIN" "$E2E_TMP/shot.png" 2>/dev/null || { echo "0 0 0 0 0"; return; }
  convert "$E2E_TMP/shot.png" -depth 8 txt:- |
    sed -n 's/^\([0-9]*\),\([0-9]*\): *(\([0-9.]*\),\([0-9.]*\),\([0-9.]*\).*/\1 \2 \3 \4 \5/p' | awk '
    $3 > 180 && $4 < 90 && $5 < 90 { n++; x = $1; y = $2;
      if (n == 1 || x < x0) x0 = x; if (x > x1) x1 = x; if (n == 1 || y < y0) y0 = y; if (y > y1) y1 = y }
    END { printf "%d %d %d %d %d\n", n, x0, x1, y0, y1 }'
}
# The toolbar's glyphs hold red of their own: the wave is what the check adds.
read -r base _ < <(red_pixels)
wave_shown() { read -r n x0 x1 y0 y1 < <(red_pixels); [ "$n" -gt $((base + 15)) ]; }
if [ "$base" -gt 0 ]; then
  # The check is on from the start: take it off to see the window without it.
  xdotool key alt+x r
  wait_until 50 test "$(red_pixels | cut -d' ' -f1)" -lt "$base" || fail "turning the check off takes no red away"
  read -r base _ < <(red_pixels)
  xdotool key alt+x r
fi
wait_until 100 wave_shown || fail "no red wave under the misspelled word ($base red pixels without the check)"
read -r n x0 x1 y0 y1 < <(red_pixels)
# A wave under one word of one line: a band a few pixels high, a word wide.
[ $((y1 - y0)) -le 12 ] && [ $((x1 - x0)) -ge 20 ] && [ $((x1 - x0)) -le 200 ] ||
  fail "the red pixels are no wave under a word: x $x0-$x1, y $y0-$y1"
ok "red wave under the word: $n pixels, x $x0-$x1, y $y0-$y1"

# The context menu over the word: its first item is the first suggestion.
before=$(visible_windows "$PROGRAM_PID")
menu_open() { [ "$(visible_windows "$PROGRAM_PID")" -gt "$before" ]; }
menu_closed() { [ "$(visible_windows "$PROGRAM_PID")" -le "$before" ]; }
xdotool mousemove --window "$WIN" $(((x0 + x1) / 2)) $((y0 - 8)) click 3
wait_until 100 menu_open || fail "no context menu over the word"
# The pointer stays clear of the items, so the keys alone choose.
xdotool mousemove 1270 1010
xdotool key Down Return
wait_until 100 menu_closed || fail "the context menu stays open"
no_wave() { [ "$(red_pixels | cut -d' ' -f1)" -le $((base + 5)) ]; }
wait_until 100 no_wave || fail "the word keeps its wave after the suggestion"
ok "the suggestion replaced the word"

[ "$(close_window "$WIN" "$prog")" = 0 ] || fail "program did not end with 0"
card=$(cat "$prog/KRT/Notiz.rtf")
card_has "$prog/KRT/Notiz.rtf" "Das Haus steht hier" || fail "card does not hold the right word: $card"
! matches -E '\\ul(wave|d|db|th|hwave|ldash)?[^a-z]' <<<"$card" || fail "underline written into the card: $card"
ok "card file holds \"Das Haus steht hier\" and no underline"
