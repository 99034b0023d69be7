#!/usr/bin/env bash
# Starts a local snmpd on a loopback port, builds and runs the SNMP benchmark
# (1000 sequential GETs with our layer and with net-snmp), prints the figures.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
build="$root/build/bench-native"
count="${1:-1000}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C "$build" snmp_bench >/dev/null

port=$(( 20000 + RANDOM % 20000 ))
dir=$(mktemp -d /tmp/lumeo_bench_snmpd.XXXXXX)
oid=1.3.6.1.4.1.48751.11.5.1.1.1.26.0
cat > "$dir/snmpd.conf" <<CONF
agentaddress udp:127.0.0.1:$port
rocommunity public 127.0.0.1
override $oid octet_str "MFG:Corvane;CMD:PCL,PDF,JPEG,TIFF,PNG,BMP;MDL:KV 200;CLS:PRINTER;"
CONF
SNMP_PERSISTENT_DIR="$dir/persist" MIBS= /usr/sbin/snmpd -f -Lo -C -c "$dir/snmpd.conf" >"$dir/snmpd.log" 2>&1 &
agent=$!
trap 'kill $agent 2>/dev/null; wait $agent 2>/dev/null; rm -rf "$dir"' EXIT
for _ in $(seq 50); do
  snmpget -v1 -c public -t 0.2 -r 0 "127.0.0.1:$port" "$oid" >/dev/null 2>&1 && break
  sleep 0.1
done
"$build/bench/snmp/snmp_bench" "127.0.0.1:$port" public "$oid" "$count" 3
