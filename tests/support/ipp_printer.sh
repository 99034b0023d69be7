#!/bin/sh
# Starts an IPP peer for the tests on a free loopback port (127.0.0.1 and ::1) and writes that port to
# <dir>/port once it answers (<dir>/failed with the log when it never does).
#   ipp_printer.sh <dir> printer [ippeveprinter options...]   ippeveprinter from cups-ipp-utils
#   ipp_printer.sh <dir> hostile                              tests/support/hostile_ipp_responder.py
#   ipp_printer.sh <dir> hostile-tls                          the same over TLS, with a certificate of
#                                                             its own for localhost that nobody trusts
# ippeveprinter needs the system D-Bus and avahi-daemon: they are started when not running
# (nothing is installed here; tools/install-deps.sh brings the packages). The peer ends
# after 300 s at the latest, or when <dir>/pid's process is killed.
dir="$1"; kind="$2"; shift 2
here="$(cd "$(dirname "$0")" && pwd)"
rm -rf "$dir" && mkdir -p "$dir" || exit 1
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
if [ "$kind" = printer ]; then
  if [ ! -S /run/dbus/system_bus_socket ]; then
    mkdir -p /run/dbus && dbus-daemon --system --fork >>"$dir/log" 2>&1
  fi
  avahi-daemon --check 2>/dev/null || avahi-daemon -D >>"$dir/log" 2>&1
  (cd "$dir" && exec timeout 300 ippeveprinter -p "$port" -n localhost -d "$dir" "$@" "Lumeo Test" >>"$dir/log" 2>&1) &
elif [ "$kind" = hostile-tls ]; then
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost -addext subjectAltName=DNS:localhost \
    -keyout "$dir/key.pem" -out "$dir/cert.pem" >>"$dir/log" 2>&1
  timeout 300 python3 "$here/hostile_ipp_responder.py" "$port" "$dir/cert.pem" "$dir/key.pem" >>"$dir/log" 2>&1 &
else
  timeout 300 python3 "$here/hostile_ipp_responder.py" "$port" >>"$dir/log" 2>&1 &
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
