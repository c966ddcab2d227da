#!/usr/bin/env bash
# A private CUPS server for the printing tests, separate from the system's
# own: configuration, spool, logs and its listening socket all live in one
# temporary folder.
#
#   cups-server.sh start DIR [--no-printers]
#       starts cupsd in DIR (made if missing) with the raw queues
#       "KartolinoA" (the default) and "KartolinoB", whose jobs land in
#       DIR/out/KartolinoA and DIR/out/KartolinoB (see kartolino-backend).
#       With --no-printers the server has no queue at all.
#       Prints the client's settings as shell assignments:
#         CUPS_SERVER=DIR/cups.sock  KARTOLINO_CUPS_OUT=DIR/out
#   cups-server.sh stop DIR
#       stops that cupsd.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cupsd=${CUPSD:-/usr/sbin/cupsd}
lib=${CUPS_SERVERBIN:-/usr/lib/cups}

# lpstat -r answers 0 either way; its text tells.
running() {
  [ "$(lpstat -r 2>/dev/null)" = "scheduler is running" ]
}

start() {
  local dir=$1 printers=$2
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  chmod 755 "$dir"
  mkdir -p "$dir"/{conf/ppd,conf/ssl,bin/backend,spool/tmp,cache,state,log,out/KartolinoA,out/KartolinoB}
  chmod 1777 "$dir/spool/tmp" "$dir/out" "$dir/out/KartolinoA" "$dir/out/KartolinoB"
  # cupsd runs only programs below ServerBin; borrow the system's helpers
  # and add our backend (mode 0700: run as the server's own user).
  local sub
  for sub in daemon filter notifier cgi-bin monitor driver; do
    [ -e "$lib/$sub" ] && ln -sfn "$lib/$sub" "$dir/bin/$sub"
  done
  install -m 0700 "$here/kartolino-backend" "$dir/bin/backend/kartolino"

  local user group
  user=$(id -un); group=$(id -gn)
  if [ "$(id -u)" -eq 0 ]; then user=lp; group=lp; fi
  cat > "$dir/conf/cups-files.conf" <<CONF
ServerRoot $dir/conf
ServerBin $dir/bin
DataDir /usr/share/cups
DocumentRoot /usr/share/cups/doc-root
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
AccessLog $dir/log/access_log
ErrorLog $dir/log/error_log
PageLog $dir/log/page_log
FileDevice No
User $user
Group $group
SystemGroup $(id -gn)
CONF
  cat > "$dir/conf/cupsd.conf" <<CONF
LogLevel debug
Listen $dir/cups.sock
Browsing No
WebInterface No
DefaultAuthType None
MaxJobs 0
PreserveJobHistory No
<Location />
  Order deny,allow
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
  "$cupsd" -f -c "$dir/conf/cupsd.conf" -s "$dir/conf/cups-files.conf" \
    >"$dir/log/cupsd.out" 2>&1 &
  echo $! > "$dir/cupsd.pid"

  export CUPS_SERVER=$dir/cups.sock
  local i
  for i in $(seq 1 100); do
    running && break
    kill -0 "$(cat "$dir/cupsd.pid")" 2>/dev/null || { cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null; return 1; }
    sleep 0.1
  done
  running || { echo "cupsd did not answer" >&2; return 1; }
  if [ "$printers" = yes ]; then
    local q
    for q in KartolinoA KartolinoB; do
      lpadmin -p "$q" -E -v "kartolino:$dir/out/$q" 2>&1 | grep -v -i 'deprecated' >&2 || true
      lpstat -p "$q" >/dev/null 2>&1 || { echo "queue $q was not made" >&2; return 1; }
    done
    lpadmin -d KartolinoA
  fi
  echo "CUPS_SERVER=$dir/cups.sock"
  echo "KARTOLINO_CUPS_OUT=$dir/out"
}

stop() {
  local dir=$1 pid
  [ -f "$dir/cupsd.pid" ] || return 0
  pid=$(cat "$dir/cupsd.pid")
  kill "$pid" 2>/dev/null || true
  local i
  for i in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$pid" 2>/dev/null || true
  rm -f "$dir/cupsd.pid"
}

case "${1:-}" in
  start)
    [ $# -ge 2 ] || { echo "usage: $0 start DIR [--no-printers]" >&2; exit 2; }
    printers=yes; [ "${3:-}" = --no-printers ] && printers=no
    start "$2" "$printers" ;;
  stop)
    [ $# -ge 2 ] || { echo "usage: $0 stop DIR" >&2; exit 2; }
    stop "$2" ;;
  *) echo "usage: $0 start|stop DIR" >&2; exit 2 ;;
esac
