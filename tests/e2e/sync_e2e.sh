#!/usr/bin/env bash
# Two machines that keep their card folders in step through Syncthing, each
# with its own Kartolino running: the first card reaches a program that has
# none, a new card, an edit and an edit on both ends at once reach the other
# side, and nothing is lost or copied twice.
# Both Syncthing instances talk to 127.0.0.1 only: no discovery, relays,
# NAT, upgrades or reports, and each knows the other by its loopback port.
source "$(dirname "$0")/lib.sh"
BIN=$1
SKIP=77
FOLDER=karten
APIKEY=kartolino-e2e

skip() { echo "SKIP: $*" >&2; exit "$SKIP"; }
command -v syncthing >/dev/null || skip "syncthing is not installed"

machine() { echo "$E2E_TMP/rechner$1"; }
cards_of() { echo "$(machine "$1")/Karten"; }
# on_machine N CMD... -> runs CMD (a function too) with machine N's home and XDG folders
on_machine() {
  local m; m=$(machine "$1"); shift
  HOME="$m/home" XDG_RUNTIME_DIR="$m/runtime" XDG_STATE_HOME="$m/state" XDG_CONFIG_HOME="$m/config" \
    XDG_CACHE_HOME="$m/cache" XDG_DATA_HOME="$m/data" "$@"
}

# api N METHOD PATH [CURL-ARG...] -> Syncthing's REST answer; its GUI listens
# on a socket file, never on a port
api() {
  local n=$1 method=$2 path=$3; shift 3
  curl -sf --max-time 60 --unix-socket "$(machine "$n")/syncthing/gui.sock" -H "X-API-Key: $APIKEY" \
    -X "$method" "$@" "http://localhost$path"
}
json() { python3 -c "import json, sys; d = json.load(sys.stdin); print($1)"; }

# syncthing_config N OWN-ID PEER-ID -> machine N's config.xml; the peer stays
# paused until its port is known
syncthing_config() {
  cat >"$(machine "$1")/syncthing/config.xml" <<EOF
<configuration version="36">
    <folder id="$FOLDER" label="Karten" path="$(cards_of "$1")" type="sendreceive" rescanIntervalS="5" fsWatcherEnabled="true" fsWatcherDelayS="1">
        <device id="$2"></device>
        <device id="$3"></device>
        <!-- Left out, it would be 0: no conflict copies, the losing side overwritten. -->
        <maxConflicts>10</maxConflicts>
    </folder>
    <device id="$2" name="rechner$1"><address>dynamic</address></device>
    <device id="$3" name="peer"><address>tcp://127.0.0.1:1</address><paused>true</paused></device>
    <gui enabled="true" tls="false"><address>$(machine "$1")/syncthing/gui.sock</address><apikey>$APIKEY</apikey></gui>
    <options>
        <listenAddress>tcp://127.0.0.1:0</listenAddress>
        <globalAnnounceServer></globalAnnounceServer>
        <globalAnnounceEnabled>false</globalAnnounceEnabled>
        <localAnnounceEnabled>false</localAnnounceEnabled>
        <announceLANAddresses>false</announceLANAddresses>
        <relaysEnabled>false</relaysEnabled>
        <natEnabled>false</natEnabled>
        <stunServer></stunServer>
        <stunKeepaliveStartS>0</stunKeepaliveStartS>
        <reconnectionIntervalS>1</reconnectionIntervalS>
        <startBrowser>false</startBrowser>
        <urAccepted>-1</urAccepted>
        <urURL></urURL>
        <autoUpgradeIntervalH>0</autoUpgradeIntervalH>
        <releasesURL></releasesURL>
        <crashReportingEnabled>false</crashReportingEnabled>
        <crashReportingURL></crashReportingURL>
    </options>
</configuration>
EOF
}

api_up() { api "$1" GET /rest/system/ping >/dev/null 2>&1; }
listen_address() { api "$1" GET /rest/system/status | json 'list(d["connectionServiceStatus"].values())[0]["lanAddresses"][0]'; }
connected() { [ "$(api "$1" GET /rest/system/connections | json "d['connections']['$2']['connected']")" = True ]; }
# in_step N -> machine N's folder is scanned and needs nothing from the peer
in_step() {
  [ "$(api "$1" GET "/rest/db/status?folder=$FOLDER" | json 'd["state"] == "idle" and d["needTotalItems"] == 0')" = True ]
}

# --- Two machines: a home, XDG folders, a card folder and a Syncthing each.
IDS=()
for n in 1 2; do
  m=$(machine "$n")
  mkdir -p "$m/home" "$m/syncthing" "$(cards_of "$n")/.stfolder"
  mkdir -m 700 "$m/runtime"
  on_machine "$n" syncthing generate --home="$m/syncthing" --no-default-folder --skip-port-probing \
    >"$m/syncthing.log" 2>&1 || skip "syncthing generate failed: $(tail -c 300 "$m/syncthing.log")"
  IDS+=("$(sed -n 's/.*<device id="\([^"]*\)".*/\1/p' "$m/syncthing/config.xml" | head -1)")
  [ -n "${IDS[-1]}" ] || skip "syncthing generate made no device id"
done
ID1=${IDS[0]} ID2=${IDS[1]}
syncthing_config 1 "$ID1" "$ID2"
syncthing_config 2 "$ID2" "$ID1"
printf '{\\rtf1\\ansi Gemeinsamer Anfang}' >"$(cards_of 1)/Anfang.rtf"
for n in 1 2; do
  m=$(machine "$n")
  # Its own pid, so that the end of the test stops it; the time limit ends it
  # even when the test itself was killed.
  STNOUPGRADE=1 on_machine "$n" exec timeout 600 syncthing serve --home="$m/syncthing" --no-browser --no-restart \
    --no-upgrade >>"$m/syncthing.log" 2>&1 &
  PIDS+=($!)
done
for n in 1 2; do
  wait_until 600 api_up "$n" || skip "syncthing $n does not answer: $(tail -c 400 "$(machine "$n")/syncthing.log")"
done
ADDRESS1=$(listen_address 1) ADDRESS2=$(listen_address 2)
for a in "$ADDRESS1" "$ADDRESS2"; do
  [[ "$a" =~ ^tcp://127\.0\.0\.1:[0-9]+$ ]] || fail "syncthing listens on \"$a\", not on loopback only"
done
# Both programs run before the folders meet: machine 2 starts without a card.
start_window_manager
declare -A WINS PROGS PIDS_OF
for n in 1 2; do
  PROGS[$n]=$(make_program_folder "$BIN")
  on_machine "$n" open_program "${PROGS[$n]}" --kartenordner "$(cards_of "$n")"
  WINS[$n]=$WIN PIDS_OF[$n]=$PROGRAM_PID
done
api 1 PATCH "/rest/config/devices/$ID2" -d "{\"addresses\": [\"$ADDRESS2\"], \"paused\": false}" || fail "peer of 1 not set"
api 2 PATCH "/rest/config/devices/$ID1" -d "{\"addresses\": [\"$ADDRESS1\"], \"paused\": false}" || fail "peer of 2 not set"
wait_until 600 connected 1 "$ID2" || fail "the two syncthing instances do not connect"
wait_until 600 card_has "$(cards_of 2)/Anfang.rtf" "Gemeinsamer Anfang" || fail "the first card does not reach machine 2"
ok "two syncthing instances keep two card folders in step over 127.0.0.1"

K1=$(cards_of 1) K2=$(cards_of 2)

# reaches N TEXT -> machine N's card file holds TEXT (bounded: a sync
# takes seconds, more on a loaded machine)
reaches() { wait_until 600 card_has "$(cards_of "$1")/$CARD" "$2"; }
# copied_text -> the focused editor's whole text, copied after every key sent
# before: the clipboard is given a stand-in first and read once the
# program's copy replaced it. (No menu is opened to see the keys taken: the
# menu bar could keep the keyboard through a minimise.)
copied_text() {
  local standin="nichts kopiert $RANDOM"
  printf "%s" "$standin" | xclip -i -selection clipboard >/dev/null 2>&1
  xdotool key ctrl+a ctrl+c
  copy_came() { [ "$(xclip -o -selection clipboard 2>/dev/null)" != "$standin" ]; }
  wait_until 100 copy_came && xclip -o -selection clipboard 2>/dev/null
}
# type_at_end N TEXT -> TEXT typed at the end of machine N's current card,
# then a save point
type_at_end() {
  focus_window "${WINS[$1]}"
  xdotool key ctrl+End
  xdotool type --delay 20 "$2"
  copied_text | matches "$2" || fail "machine $1's editor did not take \"$2\""
  save_point "${WINS[$1]}"
  wait_until 100 card_has "$(cards_of "$1")/$CARD" "$2" || fail "machine $1's save point did not write \"$2\""
}
# shows N TEXT -> machine N's editor comes to show TEXT by itself
shows() {
  focus_window "${WINS[$1]}"
  shown_text() { copied_text | matches "$1"; }
  wait_until 300 shown_text "$2" || fail "machine $1 does not show \"$2\": $(xclip -o -selection clipboard)"
}
no_copies() {
  local n
  for n in 1 2; do
    ! ls "$(cards_of "$n")" | matches 'Kopie' || fail "machine $n made a copy: $(ls "$(cards_of "$n")")"
  done
}

# --- Machine 2's program, started without a card, takes the first card that
# arrives, and what is typed into it goes back to machine 1.
CARD=Anfang.rtf
shows 2 "Gemeinsamer Anfang"
type_at_end 2 " auf Zwei"
reaches 1 "Gemeinsamer Anfang auf Zwei" || fail "machine 2's typing does not reach machine 1"
ok "a program without a card takes the first card that arrives"

CARD="Neue Karte.rtf"
# --- A card made on machine 1 becomes a tab on machine 2 while it runs.
focus_window "${WINS[1]}"
xdotool key alt+k n
wait_for_window "${PIDS_OF[1]}" '^Neue Karte anlegen$' 80 >/dev/null || fail "no input box on machine 1"
xdotool key Return
wait_until 100 test -f "$K1/$CARD" || fail "machine 1 made no card"
type_at_end 1 "Von Eins"
reaches 2 "Von Eins" || fail "the new card does not reach machine 2: $(ls "$K2")"
# Machine 2 held only "Anfang": going through its tabs reaches the new card
# only when the program took the arrived file as a tab.
focus_window "${WINS[2]}"
# next_tab_shows TEXT -> the focused program goes to its next tab, whose text
# holds TEXT
next_tab_shows() {
  xdotool key ctrl+Tab
  copied_text | matches "$1"
}
wait_until 100 next_tab_shows "Von Eins" || fail "machine 2 shows no tab of the new card"
type_at_end 2 " und Zwei"
card_has "$K2/$CARD" "Von Eins und Zwei" || fail "machine 2's card: $(card_text "$K2/$CARD")"
ok "a card made on machine 1 is a tab on machine 2"

# --- An edit on one machine is shown on the other without a restart.
reaches 1 "und Zwei" || fail "machine 2's edit does not reach machine 1"
shows 1 "Von Eins und Zwei"
type_at_end 1 " Bearbeitet"
reaches 2 "Bearbeitet" || fail "machine 1's edit does not reach machine 2"
shows 2 "Bearbeitet"
type_at_end 2 " Dazu"
card_has "$K2/$CARD" "Von Eins und Zwei Bearbeitet Dazu" || fail "machine 2's card: $(card_text "$K2/$CARD")"
reaches 1 "Bearbeitet Dazu" || fail "machine 2's second edit does not reach machine 1"
no_copies
ok "edits on either machine are shown on the other without a restart"

# --- The same card edited on both machines while they cannot reach each
# other: each side's save is scanned before they meet again, so Syncthing
# sees two concurrent versions, keeps the newer in the card and the other as
# its conflict copy.
connection_is() { [ "$(api "$1" GET /rest/system/connections | json "d['connections']['$2']['connected']")" = "$3" ]; }
apart() { connection_is 1 "$ID2" False && connection_is 2 "$ID1" False; }
api 1 POST "/rest/system/pause?device=$ID2" || fail "machine 1 does not pause its peer"
wait_until 600 apart || fail "the two syncthing instances stay connected"
type_at_end 1 " Links"
api 1 POST "/rest/db/scan?folder=$FOLDER" || fail "machine 1 does not scan"
type_at_end 2 " Rechts"
api 2 POST "/rest/db/scan?folder=$FOLDER" || fail "machine 2 does not scan"
api 1 POST "/rest/system/resume?device=$ID2" || fail "machine 1 does not resume its peer"
# copy_of N -> the one conflict copy of the card on machine N
copy_of() {
  local copies=("$(cards_of "$1")/${CARD%.rtf}".sync-conflict-*.rtf)
  [ "${#copies[@]}" = 1 ] && [ -f "${copies[0]}" ] && echo "${copies[0]}"
}
# both_texts N -> machine N holds both texts: one in the card, the other in the copy
both_texts() {
  local copy card="$(cards_of "$1")/$CARD"
  copy=$(copy_of "$1") || return 1
  { card_has "$card" Links && ! card_has "$card" Rechts && card_has "$copy" Rechts && ! card_has "$copy" Links; } ||
    { card_has "$card" Rechts && ! card_has "$card" Links && card_has "$copy" Links && ! card_has "$copy" Rechts; }
}
met_again() { both_texts 1 && both_texts 2 && in_step 1 && in_step 2; }
wait_until 900 met_again || fail "both texts are not on both machines: $(for n in 1 2; do
  echo "machine $n:"; for f in "$(cards_of "$n")"/*; do echo "  $(basename "$f"): $(card_text "$f" | tr '\n' ' ')"; done; done)"
card_has "$K1/$CARD" Rechts && { KEPT=Rechts LOST=Links; } || { KEPT=Links LOST=Rechts; }
COPY=$(basename "$(copy_of 1)")
[ "$COPY" = "$(basename "$(copy_of 2)")" ] || fail "the machines hold different copies: $COPY, $(copy_of 2)"
COPY_SUM=$(md5sum <"$K1/$COPY")
ok "the same card edited on both machines keeps both texts on both ($KEPT in the card, $LOST in $COPY)"

# --- A round trip afterwards: each program goes to the card (the tab showing
# the kept text; the copy holds the other one), and no further copy comes.
to_card() {
  focus_window "${WINS[$1]}"
  wait_until 100 next_tab_shows "$KEPT" || fail "machine $1 shows no tab with \"$KEPT\""
}
# Each program shows the copy as well; the card, on again, holds only the
# kept text, so a tab showing the other one is the copy.
for n in 1 2; do
  to_card "$n"
  wait_until 100 next_tab_shows "$LOST" || fail "machine $n shows no tab of the conflict copy"
done
to_card 1
type_at_end 1 " Runde"
reaches 2 "$KEPT Runde" || fail "the round trip's edit does not reach machine 2"
focus_window "${WINS[2]}"
wait_until 100 next_tab_shows "$KEPT Runde" || fail "machine 2 does not show the round trip's edit"
type_at_end 2 " Zurueck"
reaches 1 "Runde Zurueck" || fail "the answer does not reach machine 1"
shows 1 "$KEPT Runde Zurueck"
# Closing is a save point as well: the settled folders are looked at after it.
for n in 1 2; do
  [ "$(close_window "${WINS[$n]}" "${PROGS[$n]}")" = 0 ] || fail "machine $n's program did not end with 0"
done
for n in 1 2; do
  wait_until 600 in_step "$n" || fail "machine $n's folder does not settle"
done
for n in 1 2; do
  held=$(ls "$(cards_of "$n")" | sort | tr '\n' '|')
  [ "$held" = "$(printf '%s\n' Anfang.rtf "$COPY" "$CARD" | sort | tr '\n' '|')" ] \
    || fail "machine $n's card folder holds: $held"
  [ "$(md5sum <"$(cards_of "$n")/$COPY")" = "$COPY_SUM" ] || fail "machine $n changed the conflict copy"
done
cmp -s "$K1/$CARD" "$K2/$CARD" || fail "the cards differ: $(card_text "$K1/$CARD") / $(card_text "$K2/$CARD")"
ok "a round trip after the conflict adds no copy"
