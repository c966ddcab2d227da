# Helpers for the end-to-end scripts: they run inside xvfb-run, start a window
# manager, and drive the real program from a temporary program folder.

set -euo pipefail

# grep -q stops reading at its first match, and under pipefail the writer's
# broken pipe then fails the whole pipeline: a check that is true reads as
# false whenever the writer still had output. This reads all of its input.
matches() { grep "$@" >/dev/null; }

E2E_TMP=$(mktemp -d /tmp/kartolino-e2e.XXXXXX)
export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
export HOME="$E2E_TMP/home"
mkdir -p "$HOME"
# Deleted cards go to the trash: never the real one.
export XDG_DATA_HOME="$HOME/.local/share"
PIDS=()

cleanup() {
  for p in "${PIDS[@]:-}"; do [ -n "$p" ] && kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$E2E_TMP"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
ok() { echo "ok: $*"; }

wm_running() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | matches 'window id'; }

start_window_manager() {
  # An openbox that gave up while the X server was still coming up under a
  # loaded machine is started once more; what it said is in the failure.
  for _ in 1 2; do
    openbox >>"$E2E_TMP/openbox.log" 2>&1 &
    PIDS+=($!)
    for _ in $(seq 200); do
      wm_running && return 0
      kill -0 "${PIDS[-1]}" 2>/dev/null || break
      sleep 0.1
    done
  done
  fail "openbox did not start: $(tail -c 400 "$E2E_TMP/openbox.log")"
}

# make_program_folder BIN -> prints a folder holding a copy of the program
make_program_folder() {
  local dir="$E2E_TMP/prog$RANDOM"
  mkdir -p "$dir"
  cp "$1" "$dir/Kartolino"
  echo "$dir"
}

# start_program DIR [ARG...] -> sets PROGRAM_PID; the exit code lands in DIR/exit-code
start_program() {
  local dir=$1; shift
  ( set +e; "$dir/Kartolino" "$@" >"$dir/out.log" 2>&1; echo $? >"$dir/exit-code" ) &
  PIDS+=($!)
  for _ in $(seq 100); do
    PROGRAM_PID=$(pgrep -f -n "^$dir/Kartolino( |\$)" || true)
    [ -n "$PROGRAM_PID" ] && return 0
    sleep 0.05
  done
  fail "program did not start"
}

# wait_for_window PID NAME-REGEX [TRIES] -> prints the window id
wait_for_window() {
  local pid=$1 name=$2 tries=${3:-100} w
  for _ in $(seq "$tries"); do
    for w in $(xdotool search --pid "$pid" 2>/dev/null || true); do
      # The splash (272 x 104) is never the window looked for.
      if xdotool getwindowname "$w" 2>/dev/null | matches -E "$name" \
         && ! xwininfo -id "$w" 2>/dev/null | matches 'Width: 272'; then
        if xprop -id "$w" WM_STATE 2>/dev/null | matches 'window state'; then
          echo "$w"; return 0
        fi
      fi
    done
    sleep 0.1
  done
  return 1
}

wm_state() { xprop -id "$1" WM_STATE 2>/dev/null | sed -n 's/.*window state: //p'; }
iconic() { [ "$(wm_state "$1")" = Iconic ]; }

# wait_for_exit DIR [TRIES] -> prints the exit code
# Up to 30 s unless told: closing can take seconds on a loaded machine, and
# only a failing run waits that long.
wait_for_exit() {
  local dir=$1 tries=${2:-300}
  for _ in $(seq "$tries"); do
    [ -f "$dir/exit-code" ] && { cat "$dir/exit-code"; return 0; }
    sleep 0.1
  done
  return 1
}

# close_window WIN DIR -> closes the program's window with Alt+F4 and prints
# the program's exit code; a key lost on its way to the window (focus still
# moving after a box, a loaded machine) is sent again
close_window() {
  local win=$1 dir=$2 code=""
  for _ in 1 2 3 4; do
    xdotool windowactivate --sync "$win" 2>/dev/null || true
    xdotool key alt+F4
    code=$(wait_for_exit "$dir" 30) && break
  done
  [ -n "$code" ] && echo "$code"
}

# card_text FILE -> the visible text of a card file (RTF control words dropped)
card_text() {
  sed -e 's/\\par/\n/g' -e 's/\\[a-z]*-\{0,1\}[0-9]* \{0,1\}//g' -e 's/[{}]//g' "$1"
}

# wait_until TENTHS CMD... -> succeeds as soon as CMD does, fails after TENTHS / 10 s
wait_until() {
  local tries=$1; shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}
card_has() { card_text "$1" 2>/dev/null | matches "$2"; }
# editor_shows TEXT -> the focused editor's whole text, copied to the clipboard, holds TEXT
editor_shows() {
  xdotool key ctrl+a ctrl+c
  xclip -o -selection clipboard 2>/dev/null | matches "$1"
}

caption_shown() { [ "$(xdotool getwindowname "$1" 2>/dev/null)" = "Fennwick Kartolino" ]; }
window_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ]; }
activate_and_check() { xdotool windowactivate "$2" 2>/dev/null || true; "$1" "$2"; }

# focus_window WIN -> activates WIN and waits until it holds the keyboard
focus_window() {
  wait_until 100 activate_and_check window_active "$1" || fail "window $1 does not take the focus"
}

# restore_window WIN -> restores the main window, minimised at start, and
# waits for its first show
restore_window() {
  local win=$1
  wait_until 100 iconic "$win" || fail "main window not minimised at start: $(wm_state "$win")"
  # An activation that reaches the program before it is ready is lost, so it is repeated.
  wait_until 150 activate_and_check caption_shown "$win" || fail "no first show: $(xdotool getwindowname "$win")"
}

# keys_taken PID -> waits until the program has taken every key sent so far.
# It takes keys in turn, so once a menu opened after them shows, they have
# been handled. The menu is closed again (a second Escape leaves the menu bar).
visible_windows() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | wc -l; }
keys_taken() {
  local pid=$1 before
  before=$(visible_windows "$pid")
  more_windows() { [ "$(visible_windows "$pid")" -gt "$before" ]; }
  back_to() { [ "$(visible_windows "$pid")" -le "$before" ]; }
  xdotool key alt+a
  wait_until 100 more_windows || fail "the Ansicht menu does not open"
  xdotool key Escape Escape
  wait_until 100 back_to || fail "the Ansicht menu does not close"
}

# save_point WIN -> minimising writes the current card (a save point); the
# window comes back and holds the keyboard again
shown() { ! iconic "$1"; }
save_point() {
  xdotool windowminimize "$1"
  wait_until 100 iconic "$1" || fail "the window does not minimise"
  wait_until 100 activate_and_check shown "$1" || fail "the window does not come back"
  focus_window "$1"
}

# process_gone PID -> the process has ended (a zombie counts as ended)
process_gone() { ! ps -o stat= -p "$1" 2>/dev/null | matches -v '^Z'; }

# first_show WIN -> restore_window, then waits until the window holds the keyboard
first_show() {
  restore_window "$1"
  focus_window "$1"
}

# open_program DIR [ARG...] -> starts the program in DIR and sets WIN to its
# shown main window, which holds the keyboard
open_program() {
  local dir=$1; shift
  rm -f "$dir/exit-code"
  start_program "$dir" "$@"
  WIN=$(wait_for_window "$PROGRAM_PID" '^Kartolino$' 80) || fail "no main window"
  first_show "$WIN"
}

# close_program DIR -> closes WIN and fails unless the program ended with 0
close_program() {
  [ "$(close_window "$WIN" "$1")" = 0 ] || fail "program did not end with 0"
}
