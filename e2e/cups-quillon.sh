#!/usr/bin/env bash
# The print system of the end-to-end run: a private CUPS scheduler with two
# queues that turn every job into a PDF file, "Quillon" (the product's
# printer) and "Paper" (the default, so that a job reaching Quillon proves
# the utility chose it). Everything the scheduler keeps lives below the state
# folder, it listens only on a socket there, and each queue writes into a
# fresh folder of its own there; the machine's own CUPS is left alone.
#
#   cups-quillon.sh start STATE_DIR   start the scheduler, add the queues
#   cups-quillon.sh stop STATE_DIR    stop it and remove what the backend needed
#
# Clients reach it with CUPS_SERVER=STATE_DIR/cups.sock.
set -euo pipefail

readonly kQueues=(Quillon Paper)
readonly kDefaultQueue=Paper
readonly kPpd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
readonly kBackend=/usr/lib/cups/backend/cups-pdf
readonly kGlobalBackendConf=/etc/cups/cups-pdf.conf
readonly kPatienceSeconds=30

usage() { echo "usage: $0 start|stop STATE_DIR" >&2; exit 2; }

[ $# -eq 2 ] || usage
action=$1
mkdir -p "$2"
state=$(cd "$2" && pwd)
readonly pidFile=$state/cupsd.pid
export CUPS_SERVER=$state/cups.sock

# The backend reads /etc/cups/cups-pdf-<name>.conf for the device URI
# cups-pdf:/<name>; nothing else says where it writes. The name carries a
# digest of the state folder so that two build trees never share a file.
readonly kRunTag=e2e$(printf '%s' "$state" | md5sum | cut -c1-8)
backend_name() { echo "$kRunTag-$1"; }
backend_conf() { echo "/etc/cups/cups-pdf-$(backend_name "$1").conf"; }

scheduler_running() { lpstat -r 2>/dev/null | grep -q 'is running'; }

wait_for() {  # description, command...
  local what=$1; shift
  local tenths=0
  until "$@"; do
    if [ $tenths -ge $((kPatienceSeconds * 10)) ]; then
      echo "timed out after ${kPatienceSeconds}s waiting for $what" >&2
      return 1
    fi
    sleep 0.1
    tenths=$((tenths + 1))
  done
}

write_scheduler_config() {
  mkdir -p "$state/etc" "$state/spool" "$state/cache" "$state/run" "$state/log" "$state/tmp"
  # cupsd refuses folders that others may write to.
  chmod 0755 "$state/etc" "$state/cache" "$state/run" "$state/log"
  chmod 0710 "$state/spool"
  chmod 1777 "$state/tmp"
  cat >"$state/etc/cups-files.conf" <<EOF
ServerRoot $state/etc
RequestRoot $state/spool
CacheDir $state/cache
StateDir $state/run
TempDir $state/tmp
AccessLog $state/log/access_log
ErrorLog $state/log/error_log
PageLog $state/log/page_log
SystemGroup root
EOF
  cat >"$state/etc/cupsd.conf" <<EOF
LogLevel warn
Listen $CUPS_SERVER
Browsing No
WebInterface No
DefaultAuthType Basic
<Location />
  Order allow,deny
  Allow localhost
</Location>
<Location /admin>
  Order allow,deny
  Allow localhost
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
}

add_queue() {
  local queue=$1 out=$state/pdf-$1
  rm -rf "$out"
  mkdir -p "$out"
  sed "s|^Out .*|Out $out|" "$kGlobalBackendConf" >"$(backend_conf "$queue")"
  grep -q "^Out $out\$" "$(backend_conf "$queue")" ||
    { echo "no Out line to change in $kGlobalBackendConf" >&2; return 1; }
  # lpadmin warns on every PPD that printer drivers are deprecated.
  lpadmin -p "$queue" -E -v "cups-pdf:/$(backend_name "$queue")" -P "$kPpd" \
    2> >(grep -v 'deprecated' >&2)
}

start() {
  for needed in /usr/sbin/cupsd /usr/sbin/lpadmin /usr/bin/lpstat "$kPpd" "$kBackend" \
    "$kGlobalBackendConf"; do
    [ -e "$needed" ] ||
      { echo "missing $needed: install cups, cups-client and printer-driver-cups-pdf" >&2; return 1; }
  done
  stop
  rm -rf "$state/etc" "$state/spool" "$state/cache" "$state/run" "$state/log" "$state/tmp"
  write_scheduler_config
  # In the foreground as far as cupsd knows, in the background for us; its
  # output must not hold CTest's pipe open.
  /usr/sbin/cupsd -f -c "$state/etc/cupsd.conf" -s "$state/etc/cups-files.conf" \
    >"$state/log/cupsd.out" 2>&1 </dev/null &
  echo $! >"$pidFile"
  wait_for "the CUPS scheduler on $CUPS_SERVER" scheduler_running ||
    { cat "$state/log/cupsd.out" "$state/log/error_log" 2>/dev/null >&2; return 1; }
  for queue in "${kQueues[@]}"; do add_queue "$queue"; done
  lpadmin -d "$kDefaultQueue"
  lpstat -v
  lpstat -d
}

stop() {
  if [ -f "$pidFile" ]; then
    local pid
    pid=$(cat "$pidFile")
    kill "$pid" 2>/dev/null || true
    wait_for "the CUPS scheduler (pid $pid) to end" bash -c "! kill -0 $pid 2>/dev/null"
    rm -f "$pidFile"
  fi
  for queue in "${kQueues[@]}"; do rm -f "$(backend_conf "$queue")"; done
}

case $action in
  start) start ;;
  stop) stop ;;
  *) usage ;;
esac
