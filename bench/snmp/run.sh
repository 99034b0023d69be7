#!/usr/bin/env bash
# Starts a local snmpd on a loopback port, builds and runs the SNMP benchmark
# (1000 sequential GETs with our layer and with net-snmp), prints the figures.
# Then times whole device-ID checks: of that agent (private object), of a second one
# that holds only the standard object (two GETs a check), and of a silent peer; and the
# printer's state (one read, and /probe's full read) from a third agent that plays an
# idle printer with 4 supplies, and a fourth with 8. Every answer is checked; an agent
# that never answers or a wrong answer stops it (exit 1).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$root/build/bench-native"
count="${1:-1000}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$build" snmp_bench device_id_bench printer_bench >/dev/null

port=$(( 20000 + RANDOM % 20000 ))
dir=$(mktemp -d /tmp/lumeo_bench_snmpd.XXXXXX)
oid=1.3.6.1.4.1.48751.11.5.1.1.1.26.0
std_oid=1.3.6.1.4.1.2699.1.2.1.2.1.1.3.1
std_port=$(( port + 1 ))
printer_port=$(( port + 2 ))
eight_port=$(( port + 3 ))
private_id="MFG:Corvane;CMD:PCL,PDF,JPEG,TIFF,PNG,BMP;MDL:KV 200;CLS:PRINTER;"
standard_id="MFG:Osmira;CMD:PCL,PDF,JPEG,TIFF,PNG,BMP;MDL:Q 5;CLS:PRINTER;"
cat > "$dir/snmpd.conf" <<CONF
agentaddress udp:127.0.0.1:$port
rocommunity public 127.0.0.1
override $oid octet_str "$private_id"
CONF
cat > "$dir/snmpd-std.conf" <<CONF
agentaddress udp:127.0.0.1:$std_port
rocommunity public 127.0.0.1
override $std_oid octet_str "$standard_id"
CONF
{ echo "agentaddress udp:127.0.0.1:$printer_port"; echo "rocommunity public 127.0.0.1"
  python3 "$root/tests/support/printer_mib_agent.py" --override idle; } > "$dir/snmpd-printer.conf"
{ echo "agentaddress udp:127.0.0.1:$eight_port"; echo "rocommunity public 127.0.0.1"
  python3 "$root/tests/support/printer_mib_agent.py" --override eight; } > "$dir/snmpd-eight.conf"
SNMP_PERSISTENT_DIR="$dir/persist" MIBS= /usr/sbin/snmpd -f -Lo -C -c "$dir/snmpd.conf" >"$dir/snmpd.log" 2>&1 &
agent=$!
SNMP_PERSISTENT_DIR="$dir/persist-std" MIBS= /usr/sbin/snmpd -f -Lo -C -c "$dir/snmpd-std.conf" >"$dir/snmpd-std.log" 2>&1 &
std_agent=$!
# The printer's agent holds the printer's objects alone, as a printer does: net-snmp's own
# Linux tables after the Printer MIB (IP, TCP, UDP) cost it 20 ms to step over.
SNMP_PERSISTENT_DIR="$dir/persist-printer" MIBS= /usr/sbin/snmpd -f -Lo -C -I override,vacm_conf \
  -c "$dir/snmpd-printer.conf" >"$dir/snmpd-printer.log" 2>&1 &
printer_agent=$!
SNMP_PERSISTENT_DIR="$dir/persist-eight" MIBS= /usr/sbin/snmpd -f -Lo -C -I override,vacm_conf \
  -c "$dir/snmpd-eight.conf" >"$dir/snmpd-eight.log" 2>&1 &
eight_agent=$!
trap 'kill $agent $std_agent $printer_agent $eight_agent 2>/dev/null
      wait $agent $std_agent $printer_agent $eight_agent 2>/dev/null; rm -rf "$dir"' EXIT
answering() {
  snmpget -v1 -c public -t 0.2 -r 0 "127.0.0.1:$port" "$oid" >/dev/null 2>&1 &&
    snmpget -v1 -c public -t 0.2 -r 0 "127.0.0.1:$std_port" "$std_oid" >/dev/null 2>&1 &&
    snmpget -v1 -c public -t 0.2 -r 0 "127.0.0.1:$printer_port" 1.3.6.1.2.1.25.3.5.1.1.1 >/dev/null 2>&1 &&
    snmpget -v1 -c public -t 0.2 -r 0 "127.0.0.1:$eight_port" 1.3.6.1.2.1.25.3.5.1.1.1 >/dev/null 2>&1
}
for _ in $(seq 50); do answering && break; sleep 0.1; done
if ! answering; then
  cat "$dir"/*.log >&2
  echo "bench/snmp: the agents never answered; no figures" >&2
  exit 1
fi
"$build/bench/snmp/snmp_bench" "127.0.0.1:$port" public "$oid" "$count" 3
echo "device-ID checks, private object:"
"$build/bench/snmp/device_id_bench" "127.0.0.1:$port" public 1000 "$private_id"
echo "device-ID checks, standard object only:"
"$build/bench/snmp/device_id_bench" "127.0.0.1:$std_port" public 1000 "$standard_id"
echo "device-ID check, silent peer (goal: two one-second time-outs):"
"$build/bench/snmp/device_id_bench" silent public
echo "printer state, idle printer:"
"$build/bench/snmp/printer_bench" "127.0.0.1:$printer_port" "$count" 3 4
echo "printer state, idle printer with 8 supplies:"
"$build/bench/snmp/printer_bench" "127.0.0.1:$eight_port" "$count" 3 8
