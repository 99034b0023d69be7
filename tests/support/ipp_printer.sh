#!/bin/sh
# Starts an IPP peer for the tests on a free loopback port (127.0.0.1 and ::1) and writes that port to
# <dir>/port once it answers (<dir>/failed with the log when it never does).
#   ipp_printer.sh <dir> printer [ippeveprinter options...]   ippeveprinter from cups-ipp-utils
#   ipp_printer.sh <dir> printer-tls [options...]             the same with a certificate of its own,
#                                                             made in <dir>/keys (TLS on the same port)
#   ipp_printer.sh <dir> printer-sign-in [options...]         printer-tls asking for a sign-in (HTTP
#                                                             Basic through PAM) as the local user
#                                                             lumeoipp, password Lumeo-Test-42, added
#                                                             when missing; <dir>/skipped says why not
#   ipp_printer.sh <dir> hostile                              tests/support/hostile_ipp_responder.py
#   ipp_printer.sh <dir> hostile-tls                          the same over TLS, with a certificate of
#                                                             its own for localhost that nobody trusts
# ippeveprinter needs the system D-Bus and avahi-daemon: they are started when not running
# (nothing is installed here; tools/install-deps.sh brings the packages). The peer ends
# after 300 s at the latest, or when <dir>/pid's process is killed. IPP_PORT chooses the port (a
# printer started again where it was).
dir="$1"; kind="$2"; shift 2
here="$(cd "$(dirname "$0")" && pwd)"
rm -rf "$dir" && mkdir -p "$dir" || exit 1
port=${IPP_PORT:-$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')}

if [ "$kind" = printer-sign-in ]; then
  if ! { id lumeoipp >/dev/null 2>&1 || useradd -M -s /usr/sbin/nologin lumeoipp; } >>"$dir/log" 2>&1 ||
     ! echo 'lumeoipp:Lumeo-Test-42' | chpasswd >>"$dir/log" 2>&1; then
    echo "no local user for the sign-in (useradd and chpasswd need root)" > "$dir/skipped"
    exit 1
  fi
  set -- -A "$@"
  kind=printer-tls
fi
if [ "$kind" = printer-tls ]; then
  mkdir -p "$dir/keys" && set -- -K "$dir/keys" "$@"
  kind=printer
fi

# bus_answers <name>: the system bus is up and <name> is on it. A socket file alone proves
# nothing: one left by a bus that has gone (a killed daemon, a restarted container) stays.
bus_answers() {
  dbus-send --system --print-reply --dest=org.freedesktop.DBus / org.freedesktop.DBus.GetNameOwner \
    "string:$1" >/dev/null 2>&1
}

# start_daemons: the system D-Bus and avahi-daemon, each started unless it answers; one test
# at a time (the lock's descriptor is closed for the daemons, which outlive this script).
start_daemons() {
  if ! bus_answers org.freedesktop.DBus; then
    rm -f /run/dbus/system_bus_socket /run/dbus/pid
    mkdir -p /run/dbus && dbus-daemon --system --fork 9>&-
  fi
  if ! bus_answers org.freedesktop.Avahi; then
    avahi-daemon -k 2>/dev/null
    rm -f /run/avahi-daemon/pid
    avahi-daemon -D 9>&-
  fi
  for _ in $(seq 100); do
    bus_answers org.freedesktop.Avahi && return 0
    sleep 0.1
  done
  echo "avahi-daemon is not on the system bus" && return 1
}

if [ "$kind" = printer ]; then
  (flock 9 && start_daemons) 9>/tmp/lumeo-ipp-daemons.lock >>"$dir/log" 2>&1
  (cd "$dir" && exec timeout 300 ippeveprinter -p "$port" -n localhost -d "$dir" "$@" "Lumeo Test" >>"$dir/log" 2>&1) &
elif [ "$kind" = hostile-tls ]; then
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost -addext subjectAltName=DNS:localhost \
    -keyout "$dir/key.pem" -out "$dir/cert.pem" >>"$dir/log" 2>&1
  (cd "$dir" && exec timeout 300 python3 "$here/hostile_ipp_responder.py" "$port" "$dir/cert.pem" "$dir/key.pem" >>"$dir/log" 2>&1) &
else
  (cd "$dir" && exec timeout 300 python3 "$here/hostile_ipp_responder.py" "$port" >>"$dir/log" 2>&1) &
fi
echo $! > "$dir/pid"
for _ in $(seq 100); do
  if python3 -c "import socket,sys; socket.create_connection(('127.0.0.1', $port), 0.2)" 2>/dev/null; then
    echo "$port" > "$dir/port.new" && mv "$dir/port.new" "$dir/port"
    exit 0
  fi
  sleep 0.1
done
cp "$dir/log" "$dir/failed" 2>/dev/null || touch "$dir/failed"
exit 1
