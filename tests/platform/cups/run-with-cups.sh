#!/usr/bin/env bash
# Runs a command against a private CUPS server that lives only as long as
# the command: starts it (see cups-server.sh), exports CUPS_SERVER and
# KARTOLINO_CUPS_OUT, runs the command, stops the server, removes its folder.
#
#   run-with-cups.sh [--no-printers] COMMAND [ARGS...]
#
# The client is kept away from the user's own printer choices: LPDEST and
# PRINTER are unset and HOME points into the server's folder (lpoptions).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
opts=()
if [ "${1:-}" = --no-printers ]; then opts+=(--no-printers); shift; fi
[ $# -ge 1 ] || { echo "usage: $0 [--no-printers] COMMAND [ARGS...]" >&2; exit 2; }

# The socket path must stay short (sun_path), so not below a deep TMPDIR.
dir=$(mktemp -d /tmp/kartolino-cups.XXXXXX) || exit 1
cleanup() {
  bash "$here/cups-server.sh" stop "$dir"
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT TERM HUP

if ! settings=$(bash "$here/cups-server.sh" start "$dir" "${opts[@]}"); then
  echo "run-with-cups: the CUPS server did not start" >&2
  tail -n 30 "$dir/log/error_log" "$dir/log/cupsd.out" >&2 2>/dev/null
  exit 1
fi
while IFS='=' read -r key value; do
  [ -n "$key" ] && export "$key=$value"
done <<< "$settings"
unset LPDEST PRINTER
mkdir -p "$dir/home"
export HOME=$dir/home

"$@"
rc=$?
if [ $rc -ne 0 ]; then
  echo "run-with-cups: the command failed ($rc); the server's errors:" >&2
  grep -E '^E ' "$dir/log/error_log" 2>/dev/null | tail -n 20 >&2
fi
exit $rc
