#!/usr/bin/env bash
# The installed program from a read-only prefix with the user's own XDG
# folders: the card typed into a new card lands in $XDG_DATA_HOME/Kartolino/KRT,
# the saved view in $XDG_CONFIG_HOME/Kartolino, and nothing in the prefix.
source "$(dirname "$0")/lib.sh"
build=$1
start_window_manager

prefix=$E2E_TMP/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "install"
export XDG_DATA_HOME=$E2E_TMP/xdg/data XDG_CONFIG_HOME=$E2E_TMP/xdg/config
snapshot() { find "$prefix" -printf '%p %s %m %T@\n' | sort; }
before=$(snapshot)
trap 'chmod -R u+w "$prefix" 2>/dev/null; cleanup' EXIT

# The prefix is read-only as after a system-wide install. Root writes through
# permissions, so it gets a read-only bind mount of its own instead.
exit_file=$E2E_TMP/exit-code
if [ "$(id -u)" = 0 ]; then
  ( set +e
    unshare -m sh -c 'mount --bind "$1" "$1" && mount -o remount,ro,bind "$1" "$1" && exec "$1/bin/Kartolino"' \
      sh "$prefix" >"$E2E_TMP/out.log" 2>&1
    echo $? >"$exit_file" ) &
else
  chmod -R a-w "$prefix"
  ( set +e; "$prefix/bin/Kartolino" >"$E2E_TMP/out.log" 2>&1; echo $? >"$exit_file" ) &
fi
PIDS+=($!)
wait_until 100 pgrep -f -n "^$prefix/bin/Kartolino\$" >/dev/null || fail "program did not start: $(cat "$E2E_TMP/out.log")"
PROGRAM_PID=$(pgrep -f -n "^$prefix/bin/Kartolino\$")

win=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no minimised main window"
wm_class=$(xprop -id "$win" WM_CLASS | sed -n 's/.*= "\(.*\)", "\(.*\)"/\2/p')
[ "$wm_class" = "$(sed -n 's/^StartupWMClass=//p' "$prefix/share/applications/example.fennwick.Kartolino.desktop")" ] \
  || fail "window class $wm_class matches no StartupWMClass"
[ ! -e "$E2E_TMP/xdg" ] || fail "XDG folders made before the first show"
first_show "$win"
[ -d "$XDG_DATA_HOME/Kartolino/KRT" ] || fail "no card folder in $XDG_DATA_HOME"
[ "$(stat -c %a "$XDG_DATA_HOME")" = 700 ] || fail "the data folder made is not private: $(stat -c %a "$XDG_DATA_HOME")"
ok "card folder made in the XDG data folder"

input_box() { xdotool search --pid "$PROGRAM_PID" --onlyvisible --name '^Neue Karte' >/dev/null 2>&1; }
xdotool key alt+k n
wait_until 50 input_box || fail "no input box for the new card"
xdotool type --delay 20 "Notiz"
xdotool key Return
wait_until 50 test -f "$XDG_DATA_HOME/Kartolino/KRT/Notiz.rtf" || fail "new card not made"
focused_main() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$(printf %d "$win")" ]; }
wait_until 50 focused_main || fail "main window not active after the input box"
xdotool type --delay 20 "Installiert"
xdotool key alt+a a        # Ansicht > Ansichtsoptionen speichern
wait_until 50 test -f "$XDG_CONFIG_HOME/Kartolino/Kartolino.ini" || fail "no settings file in $XDG_CONFIG_HOME"
xdotool key alt+F4
code=$(wait_for_exit "$E2E_TMP") || fail "program did not end"
[ "$code" = 0 ] || fail "exit code $code: $(cat "$E2E_TMP/out.log")"
card_has "$XDG_DATA_HOME/Kartolino/KRT/Notiz.rtf" Installiert || fail "typed text not in the card: $(cat "$XDG_DATA_HOME/Kartolino/KRT/Notiz.rtf")"
ok "typed card and saved view in the XDG folders"

[ "$before" = "$(snapshot)" ] || fail "the prefix changed: $(diff <(echo "$before") <(snapshot))"
ok "nothing new in the prefix"
