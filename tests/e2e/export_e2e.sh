#!/usr/bin/env bash
# Export through Qt's own dialogs, as a user does it: the current card to PDF,
# OpenDocument and Markdown, every card into a folder, and a folder that
# cannot be written. Nothing in the card folder changes.
source "$(dirname "$0")/lib.sh"
export LANG=de_DE.UTF-8
unset LC_ALL
start_window_manager
BIN=$1

prog=$(make_program_folder "$BIN")
out=$E2E_TMP/out all=$E2E_TMP/alle ro=$E2E_TMP/schreibgeschuetzt
mkdir -p "$prog/KRT" "$out" "$all" "$ro"
# Bold, a colour and a bulleted list.
printf '%s' '{\rtf1\ansi{\fonttbl{\f0 Arial;}}{\colortbl;\red200\green0\blue0;}\f0\fs24 Einkauf {\b fettgedruckt} und {\cf1 rot}\par\pard{\pntext\bullet\tab}{\*\pn\pnlvlblt{\pntxtb\bullet}}\fi-360\li720 Milch\par{\pntext\bullet\tab}Brot\par}' \
  >"$prog/KRT/Einkauf.rtf"
card_before=$(md5sum <"$prog/KRT/Einkauf.rtf")

# The folder that cannot be written: root writes through permissions, so it
# gets a read-only bind mount in a namespace of the program's own.
if [ "$(id -u)" = 0 ]; then
  ( set +e
    unshare -m sh -c 'mount --bind "$1" "$1" && mount -o remount,ro,bind "$1" "$1" && exec "$2/Kartolino"' \
      sh "$ro" "$prog" >"$prog/out.log" 2>&1
    echo $? >"$prog/exit-code" ) &
  PIDS+=($!)
else
  chmod a-w "$ro"
  ( set +e; "$prog/Kartolino" >"$prog/out.log" 2>&1; echo $? >"$prog/exit-code" ) &
  PIDS+=($!)
fi
wait_until 100 pgrep -f -n "^$prog/Kartolino\$" >/dev/null || fail "program did not start: $(cat "$prog/out.log")"
PROGRAM_PID=$(pgrep -f -n "^$prog/Kartolino\$")
WIN=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no main window"
first_show "$WIN"

dialog_open() { xdotool search --all --onlyvisible --pid "$PROGRAM_PID" --name "^$1\$" >/dev/null 2>&1; }
dialog_gone() { ! dialog_open "$1"; }
# choose TITLE PATH -> types PATH into the open dialog TITLE and confirms it
choose() {
  wait_until 100 dialog_open "$1" || fail "no dialog \"$1\""
  local dlg
  dlg=$(xdotool search --all --onlyvisible --pid "$PROGRAM_PID" --name "^$1\$" | head -1)
  xdotool windowactivate --sync "$dlg" 2>/dev/null || true
  xdotool key ctrl+a
  xdotool type --delay 10 "$2"
  xdotool key Return
  wait_until 100 dialog_gone "$1" || fail "dialog \"$1\" stays after $2"
}
export_card() { focus_window "$WIN"; xdotool key alt+x e; choose "Karte exportieren" "$1"; }

export_card "$out/Einkauf.pdf"
wait_until 100 test -s "$out/Einkauf.pdf" || fail "no PDF"
pdftotext "$out/Einkauf.pdf" - | tr '\n' ' ' | matches 'Einkauf fettgedruckt und rot.*Milch.*Brot' \
  || fail "PDF text: $(pdftotext "$out/Einkauf.pdf" -)"
pdfinfo "$out/Einkauf.pdf" | matches '^Title: *Einkauf$' || fail "PDF title: $(pdfinfo "$out/Einkauf.pdf")"
ok "PDF holds the card's text and name"

export_card "$out/Einkauf.odt"
wait_until 100 test -s "$out/Einkauf.odt" || fail "no ODT"
lo() { soffice -env:UserInstallation="file://$E2E_TMP/lo" --headless --norestore --convert-to "$1" --outdir "$E2E_TMP/conv" "$2" >/dev/null 2>&1; }
lo txt:Text "$out/Einkauf.odt" || fail "LibreOffice cannot read the ODT"
tr '\n' ' ' <"$E2E_TMP/conv/Einkauf.txt" | matches 'Einkauf fettgedruckt und rot.*Milch.*Brot' \
  || fail "ODT text: $(cat "$E2E_TMP/conv/Einkauf.txt")"
lo fodt "$out/Einkauf.odt" || fail "LibreOffice cannot convert the ODT"
# The run "fettgedruckt" has an automatic style whose weight is bold.
style=$(grep -o '<text:span text:style-name="[^"]*">fettgedruckt' "$E2E_TMP/conv/Einkauf.fodt" | sed 's/.*style-name="\([^"]*\)".*/\1/')
[ -n "$style" ] || fail "no styled run for the bold word"
tr '\n' ' ' <"$E2E_TMP/conv/Einkauf.fodt" | matches "style:name=\"$style\"[^>]*>[^<]*<style:text-properties[^>]*fo:font-weight=\"bold\"" \
  || fail "the bold word lost its weight"
ok "ODT opens in LibreOffice with the text and the bold"

export_card "$out/Einkauf.md"
wait_until 100 test -s "$out/Einkauf.md" || fail "no Markdown"
matches -F '**fettgedruckt**' "$out/Einkauf.md" || fail "Markdown: $(cat "$out/Einkauf.md")"
matches -- '- Milch' "$out/Einkauf.md" || fail "Markdown list: $(cat "$out/Einkauf.md")"
ok "Markdown keeps bold and the list"

# A second card, typed and not yet saved: all cards, one file per card, in
# the format of the last export.
focus_window "$WIN"
xdotool key alt+k n
wait_until 100 dialog_open "Neue Karte anlegen" || fail "no input box"
xdotool key ctrl+a; xdotool type --delay 20 "Zweite"; xdotool key Return
wait_until 100 test -f "$prog/KRT/Zweite.rtf" || fail "new card not made"
focus_window "$WIN"
xdotool type --delay 20 "ungespeichert"
xdotool key alt+x a
choose "Alle Karten exportieren" "$all/"
wait_until 100 test -s "$all/Zweite.md" || fail "all cards: $(ls "$all")"
[ "$(ls "$all")" = "$(printf 'Einkauf.md\nZweite.md')" ] || fail "all cards: $(ls -a "$all")"
matches ungespeichert "$all/Zweite.md" || fail "the current card's text as the editor shows it: $(cat "$all/Zweite.md")"
matches -F '**fettgedruckt**' "$all/Einkauf.md" || fail "Einkauf.md: $(cat "$all/Einkauf.md")"
ok "all cards: one file per card"

# A folder that cannot be written: the message, and no file.
export_card "$ro/Einkauf.txt"
box=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 100) || fail "no error box"
[ -z "$(ls -A "$ro")" ] || fail "something was written: $(ls -A "$ro")"
for _ in $(seq 50); do
  xdotool search --all --onlyvisible --pid "$PROGRAM_PID" --name '^Kartolino$' >/dev/null 2>&1 || break
  xdotool windowactivate --sync "$box" 2>/dev/null || true
  xdotool key Return
  sleep 0.1
done
ok "an unwritable folder gives the error box and no file"

[ "$(close_window "$WIN" "$prog")" = 0 ] || fail "program did not end with 0"
[ "$(md5sum <"$prog/KRT/Einkauf.rtf")" = "$card_before" ] || fail "the card's file changed"
[ "$(ls "$prog/KRT")" = "$(printf 'Einkauf.rtf\nZweite.rtf')" ] || fail "card folder: $(ls -a "$prog/KRT")"
ok "nothing in the card folder changed by the export"
