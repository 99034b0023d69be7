#!/usr/bin/env bash
# [count] (50) small PDFs to one printer (ippeveprinter -c /bin/true on a loopback port), each
# printed and followed until the printer ends it: by our IPP road (bench/ipp/ipp_batch_bench.exe
# under Wine: SendFilesOverIpp as a print run calls it, Wine's start left out) against ipptool
# sending the same Print-Jobs, each followed by Get-Job-Attributes until it is completed
# (asked again every 20 ms). Best of three rounds, alternating; figures per file.
#   bench/ipp/run-ipp-batch-bench.sh [count]   (needs tools/build.sh windows or ninja ipp_batch_bench)
# Exits non-zero, with no ratio, when the printer never answered or a job was not completed.
# LUMEO_BENCH_TLS=1: the printer has a certificate of its own (ippeveprinter -K), both sides go over
# ipps:// to it. IPP_PORT chooses the printer's port.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
exe="${LUMEO_BUILD_DIR:-$root/build/windows}/bench/ipp/ipp_batch_bench.exe"
[ -f "$exe" ] || { echo "run-ipp-batch-bench: $exe is missing; run tools/build.sh windows" >&2; exit 1; }
command -v ipptool >/dev/null || { echo "run-ipp-batch-bench: ipptool is missing (cups-ipp-utils)" >&2; exit 1; }
count="${1:-50}"
export LUMEO_WINEPREFIX="${LUMEO_WINEPREFIX:-$root/build/bench-ipp-prefix}"
fail() { echo "run-ipp-batch-bench: $*; no figures" >&2; exit 1; }
dir=$(mktemp -u /tmp/lumeo_bench_ipp_batch.XXXXXX)
src=$(mktemp -d /tmp/lumeo_bench_b.XXXXXX)
trap 'kill $(cat "$dir/pid" 2>/dev/null) 2>/dev/null; rm -rf "$dir" "$src"' EXIT
kind=printer scheme=ipp
[ "${LUMEO_BENCH_TLS:-0}" = 1 ] && kind=printer-tls scheme=ipps
sh "$root/tests/support/ipp_printer.sh" "$dir" "$kind" -f application/pdf,image/jpeg -c /bin/true ||
  { cat "$dir/failed" >&2; fail "the printer never answered"; }
url="$scheme://127.0.0.1:$(cat "$dir/port")/ipp/print"

# The files, and ipptool's tests for them: a Print-Job each, then its job asked until completed.
files=()
for i in $(seq "$count"); do
  f="$src/f$i.pdf"
  printf '%%PDF-1.4\n1 0 obj << /Type /Catalog >> endobj\n%% file %s\ntrailer << /Root 1 0 R >>\n%%%%EOF\n' "$i" >"$f"
  files+=("Z:${f//\//\\}")
  cat <<TEST
{
  NAME "Print-Job f$i"
  OPERATION Print-Job
  GROUP operation-attributes-tag
  ATTR charset attributes-charset utf-8
  ATTR naturalLanguage attributes-natural-language en
  ATTR uri printer-uri \$uri
  ATTR name requesting-user-name bench
  ATTR name job-name f$i.pdf
  ATTR mimeMediaType document-format application/pdf
  FILE $f
  STATUS successful-ok
  EXPECT job-id OF-TYPE integer WITH-VALUE >0
}
{
  NAME "Get-Job-Attributes f$i"
  OPERATION Get-Job-Attributes
  DELAY "0,0.02"
  GROUP operation-attributes-tag
  ATTR charset attributes-charset utf-8
  ATTR naturalLanguage attributes-natural-language en
  ATTR uri printer-uri \$uri
  ATTR integer job-id \$job-id
  ATTR name requesting-user-name bench
  ATTR keyword requested-attributes job-state
  STATUS successful-ok
  EXPECT job-state WITH-VALUE 9 REPEAT-NO-MATCH
}
TEST
done >"$src/batch.test"

ours=() anchor=()
for round in 1 2 3; do
  ms=$("$root/tools/wine-run" "$exe" "$url" "${files[@]}" | tr -d '\r') || fail "our road did not print every file"
  ours+=("$(echo "$ms / $count" | bc -l)")
  start=$(date +%s.%N)
  ipptool -q "$url" "$src/batch.test" || fail "ipptool's jobs failed their checks"
  anchor+=("$(echo "($(date +%s.%N) - $start) * 1000 / $count" | bc -l)")
done
best() { printf '%s\n' "$@" | sort -g | head -1; }
o=$(best "${ours[@]}") a=$(best "${anchor[@]}")
printf 'Batch of %s PDFs over %s, each printed and followed, best of 3: ours %.1f ms/file (%s), ipptool %.1f ms/file (%s), ratio %.2f\n' \
  "$count" "$scheme" "$o" "$(printf '%.1f ' "${ours[@]}")" "$a" "$(printf '%.1f ' "${anchor[@]}")" "$(echo "$o / $a" | bc -l)"
