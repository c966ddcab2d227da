#!/usr/bin/env bash
# Earlier versions: three save points with different text keep two versions,
# outside the card folder; restoring the first brings its text back, and the
# next save point writes it to the card.
source "$(dirname "$0")/lib.sh"
export XDG_STATE_HOME="$E2E_TMP/state" XDG_CONFIG_HOME="$E2E_TMP/config" XDG_CACHE_HOME="$E2E_TMP/cache"

start_window_manager
BIN=$1

prog=$(make_program_folder "$BIN")
VERSIONS="$prog/Fassungen" # portable: beside the settings file
mkdir "$prog/KRT"; printf '{\\rtf1\\ansi Bee}' >"$prog/KRT/B.rtf"
start_program "$prog"
WIN=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no main window"
first_show "$WIN"
xdotool key alt+k n
wait_for_window "$PROGRAM_PID" '^Neue Karte anlegen$' 50 >/dev/null || fail "no input box"
xdotool key Return
CARD="$prog/KRT/Neue Karte.rtf"
wait_until 50 test -f "$CARD" || fail "new card not made"

version_count() { find "$VERSIONS" -name '*.fassung' 2>/dev/null | wc -l; }
# editor_is TEXT -> the editor's whole text, copied to the clipboard, is TEXT
editor_is() {
  xdotool key ctrl+a ctrl+c
  [ "$(xclip -o -selection clipboard 2>/dev/null)" = "$1" ]
}

for text in eins zwei drei; do
  focus_window "$WIN"
  xdotool key ctrl+a; xdotool type --delay 20 "$text"
  wait_until 50 editor_is "$text" || fail "the editor does not show \"$text\""
  save_point "$WIN"
  wait_until 100 card_has "$CARD" "$text" || fail "the save point did not write \"$text\": $(card_text "$CARD")"
done
[ "$(version_count)" = 2 ] || fail "three save points kept $(version_count) versions"
[ "$(ls "$prog/KRT")" = "$(printf 'B.rtf\nNeue Karte.rtf')" ] || fail "the card folder holds $(ls "$prog/KRT")"
ok "three save points with different text keep two versions outside the card folder"

xdotool key alt+x f
dlg=$(wait_for_window "$PROGRAM_PID" '^Frühere Fassungen von "Neue Karte"$' 50) || fail "no versions dialog"
focus_window "$dlg"
# The newest comes first; the first version is the last.
xdotool key End alt+w
dialog_gone() { ! xdotool search --all --onlyvisible --pid "$PROGRAM_PID" --name '^Frühere Fassungen' >/dev/null 2>&1; }
wait_until 100 dialog_gone || fail "the versions dialog stays"
focus_window "$WIN"
wait_until 50 editor_is eins || fail "the restored text is not \"eins\": $(xclip -o -selection clipboard)"
card_has "$CARD" drei || fail "the restore wrote the card before a save point"
save_point "$WIN"
wait_until 100 card_has "$CARD" eins || fail "the next save point did not write the restored text: $(card_text "$CARD")"
[ "$(version_count)" = 3 ] || fail "what the restore replaced was not kept: $(version_count) versions"
ok "restoring the first version brings its text back, and the next save point writes it"

[ "$(close_window "$WIN" "$prog")" = 0 ] || fail "program did not end with 0"
