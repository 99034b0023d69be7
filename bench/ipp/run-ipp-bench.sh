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
# ipptool sends the tests of a file one after the other on one connection.
for _ in $(seq "$count"); do cat "$root/bench/ipp/get-printer-attributes.test"; done > "$dir/repeated.test"
ours=() kept=() anchor=()
for round in 1 2 3; do
  ours+=("$("$root/tools/wine-run" "$exe" "$url" "$count" 1 "CMD:PDF,JPEG;" | tr -d '\r')")
  kept+=("$("$root/tools/wine-run" "$exe" "$url" "$count" 1 "CMD:PDF,JPEG;" kept | tr -d '\r')")
  start=$(date +%s.%N)
  ipptool -q "$url" "$dir/repeated.test" ||
    { echo "run-ipp-bench: ipptool's answers failed their checks; no figures" >&2; exit 1; }
  anchor+=("$(echo "($(date +%s.%N) - $start) * 1000 / $count" | bc -l)")
done
best() { printf '%s\n' "$@" | sort -g | head -1; }
o=$(best "${ours[@]}") k=$(best "${kept[@]}") a=$(best "${anchor[@]}")
printf 'Get-Printer-Attributes over %s, %s requests, best of 3: ours %.3f ms/request (%s), ipptool %.3f ms/request (%s), ratio %.2f\n' \
  "$scheme" "$count" "$o" "${ours[*]}" "$a" "$(printf '%.3f ' "${anchor[@]}")" "$(echo "$o / $a" | bc -l)"
printf 'Same, ours on one Connection as a run keeps it: %.3f ms/request (%s), ratio %.2f\n' \
  "$k" "${kept[*]}" "$(echo "$k / $a" | bc -l)"
