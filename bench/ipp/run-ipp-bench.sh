#!/usr/bin/env bash
# Get-Printer-Attributes of one printer (ippeveprinter on a loopback port): our client
# (bench/ipp/ipp_bench.exe under Wine, a new connection per request, as a check makes it)
# against ipptool sending the same request as often, on one connection it keeps; also ours with
# all requests of a round on one Connection, as a print run keeps it. Best of three rounds each, alternating.
#   bench/ipp/run-ipp-bench.sh [count]     (needs tools/build.sh windows or ninja ipp_bench; count: 200)
# LUMEO_BENCH_TLS=1: the printer has a certificate of its own (ippeveprinter -K), both sides go over ipps://.
# IPP_PORT chooses the printer's port.
# Exits non-zero, with no ratio, when the printer never answered or an answer failed its checks.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
exe="${LUMEO_BUILD_DIR:-$root/build/windows}/bench/ipp/ipp_bench.exe"
[ -f "$exe" ] || { echo "run-ipp-bench: $exe is missing; run tools/build.sh windows" >&2; exit 1; }
command -v ipptool >/dev/null || { echo "run-ipp-bench: ipptool is missing (cups-ipp-utils)" >&2; exit 1; }
count="${1:-200}"
export LUMEO_WINEPREFIX="${LUMEO_WINEPREFIX:-$root/build/bench-ipp-prefix}"
dir=$(mktemp -u /tmp/lumeo_bench_ipp.XXXXXX)
kind=printer scheme=ipp
[ "${LUMEO_BENCH_TLS:-0}" = 1 ] && kind=printer-tls scheme=ipps
sh "$root/tests/support/ipp_printer.sh" "$dir" "$kind" -f application/pdf,image/jpeg ||
  { cat "$dir/failed" >&2; echo "run-ipp-bench: the printer never answered; no figures" >&2; exit 1; }
trap 'kill $(cat "$dir/pid") 2>/dev/null; rm -rf "$dir"' EXIT
url="$scheme://127.0.0.1:$(cat "$dir/port")/ipp/print"
# ipptool sends the tests of a file one after the other on one connection. Its run of one
# request gives what it costs once (its start, the connection, over TLS the handshake), so that
# both sides are also compared per request after the first.
[ "$count" -ge 2 ] || { echo "run-ipp-bench: count must be 2 or more" >&2; exit 2; }
for _ in $(seq "$count"); do cat "$root/bench/ipp/get-printer-attributes.test"; done > "$dir/repeated.test"
ipptool_ms() {
  local start
  start=$(date +%s.%N)
  ipptool -q "$url" "$1" ||
    { echo "run-ipp-bench: ipptool's answers failed their checks; no figures" >&2; exit 1; }
  echo "($(date +%s.%N) - $start) * 1000" | bc -l
}
ours=() oursRest=() kept=() keptRest=() anchor=() anchorRest=()
for round in 1 2 3; do
  read -r all rest < <("$root/tools/wine-run" "$exe" "$url" "$count" 1 "CMD:PDF,JPEG;" | tr -d '\r') ||
    { echo "run-ipp-bench: our requests failed; no figures" >&2; exit 1; }
  ours+=("$all") oursRest+=("$rest")
  read -r all rest < <("$root/tools/wine-run" "$exe" "$url" "$count" 1 "CMD:PDF,JPEG;" kept | tr -d '\r') ||
    { echo "run-ipp-bench: our requests on one Connection failed; no figures" >&2; exit 1; }
  kept+=("$all") keptRest+=("$rest")
  one=$(ipptool_ms "$root/bench/ipp/get-printer-attributes.test")
  many=$(ipptool_ms "$dir/repeated.test")
  anchor+=("$(echo "$many / $count" | bc -l)")
  anchorRest+=("$(echo "($many - $one) / ($count - 1)" | bc -l)")
done
best() { printf '%s\n' "$@" | sort -g | head -1; }
list() { printf '%.3f ' "$@"; }
o=$(best "${ours[@]}") k=$(best "${kept[@]}") a=$(best "${anchor[@]}")
or=$(best "${oursRest[@]}") kr=$(best "${keptRest[@]}") ar=$(best "${anchorRest[@]}")
printf 'Get-Printer-Attributes over %s, %s requests, best of 3: ours %.3f ms/request (%s), ipptool %.3f ms/request (%s), ratio %.2f\n' \
  "$scheme" "$count" "$o" "$(list "${ours[@]}")" "$a" "$(list "${anchor[@]}")" "$(echo "$o / $a" | bc -l)"
printf 'Same, ours on one Connection as a run keeps it: %.3f ms/request (%s), ratio %.2f\n' \
  "$k" "$(list "${kept[@]}")" "$(echo "$k / $a" | bc -l)"
printf 'Per request after the first (each side'"'"'s one-time set-up left out): ours %.3f (%s), on one Connection %.3f (%s), ipptool %.3f (%s), ratios %.2f and %.2f\n' \
  "$or" "$(list "${oursRest[@]}")" "$kr" "$(list "${keptRest[@]}")" "$ar" "$(list "${anchorRest[@]}")" \
  "$(echo "$or / $ar" | bc -l)" "$(echo "$kr / $ar" | bc -l)"
