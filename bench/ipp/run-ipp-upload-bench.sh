#!/usr/bin/env bash
# A PDF of [size-MiB] (512) random bytes to one printer (ippeveprinter on a loopback port): by our
# IPP road (bench/ipp/ipp_upload_bench.exe under Wine: SendFilesOverIpp as a print run calls it,
# the printer's attributes asked, the job made, the file streamed and checked) against
# `ipptool -f <file>` sending the same file with one Print-Job. Best of three rounds, alternating
# (LUMEO_BENCH_ROUNDS=N for more: on a machine whose rounds differ by half, the best of five is
# nearer each side's own cost).
# Neither side follows its job: the printer's simulated printing is waited out between sends,
# untimed, and the document it received compared with the file byte for byte, then deleted.
#   bench/ipp/run-ipp-upload-bench.sh [size-MiB]   (needs tools/build.sh windows or ninja ipp_upload_bench)
# ipptool sends its body chunked; LUMEO_BENCH_IPPTOOL_ARGS=-L makes it send a Content-Length, as ours does.
# Exits non-zero, with no ratio, when the printer never answered, a send failed or a document
# did not arrive whole.
# LUMEO_BENCH_TLS=1: the printer has a certificate of its own (ippeveprinter -K), both sides go over
# ipps:// to it. IPP_PORT chooses the printer's port.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
exe="${LUMEO_BUILD_DIR:-$root/build/windows}/bench/ipp/ipp_upload_bench.exe"
[ -f "$exe" ] || { echo "run-ipp-upload-bench: $exe is missing; run tools/build.sh windows" >&2; exit 1; }
command -v ipptool >/dev/null || { echo "run-ipp-upload-bench: ipptool is missing (cups-ipp-utils)" >&2; exit 1; }
size="${1:-512}"
export LUMEO_WINEPREFIX="${LUMEO_WINEPREFIX:-$root/build/bench-ipp-prefix}"
fail() { echo "run-ipp-upload-bench: $*; no figures" >&2; exit 1; }
# The file and the printer's spool in memory where there is room (/dev/shm): the disk's writing
# back of the printer's copy is in neither side, and made the rounds differ by up to 4 times.
mem=/tmp
[ -w /dev/shm ] && [ "$(df -Pm /dev/shm | awk 'NR==2 {print $4}')" -gt $((3 * ${1:-512})) ] && mem=/dev/shm
dir=$(mktemp -u "$mem/lumeo_bench_ipp_upload.XXXXXX")
src=$(mktemp -d "$mem/lumeo_bench_pdf.XXXXXX")
trap 'kill $(cat "$dir/pid" 2>/dev/null) 2>/dev/null; rm -rf "$dir" "$src"' EXIT
kind=printer scheme=ipp
[ "${LUMEO_BENCH_TLS:-0}" = 1 ] && kind=printer-tls scheme=ipps
sh "$root/tests/support/ipp_printer.sh" "$dir" "$kind" -f application/pdf,image/jpeg ||
  { cat "$dir/failed" >&2; fail "the printer never answered"; }
url="$scheme://127.0.0.1:$(cat "$dir/port")/ipp/print"
# Random bytes dressed as a PDF, so that the road's content checks take them.
pdf="$src/bench.pdf"
{ printf '%%PDF-1.7\n'; head -c $((size << 20)) /dev/urandom; printf '\n%%%%EOF\n'; } >"$pdf"
! grep -qaF $'\x1b%-12345X' "$pdf" || fail "the random bytes hold the PJL exit; run again"
sync "$pdf"  # written out before any round is timed

# received <who>: once the printer has ended the job, its copy of the document must be the file.
received() {
  for _ in $(seq 600); do ipptool -q "$url" "$here/jobs-done.test" && break; sleep 0.1; done
  ipptool -q "$url" "$here/jobs-done.test" || fail "$1: the printer never ended the job"
  local got=("$dir"/[0-9]*-*)
  [ "${#got[@]}" = 1 ] && [ -f "${got[0]}" ] || fail "$1: the printer kept no document"
  cmp -s "$pdf" "${got[0]}" || fail "$1: the printer's document differs from the file"
  rm -f "${got[0]}" && sync
}
ours=() anchor=() peaks=()
rounds="${LUMEO_BENCH_ROUNDS:-3}"
[[ "$rounds" =~ ^[1-9][0-9]?$ ]] || fail "LUMEO_BENCH_ROUNDS is not a number of rounds (1-99): $rounds"
for round in $(seq "$rounds"); do
  read -r ms job before after < <("$root/tools/wine-run" "$exe" "$url" "Z:${pdf//\//\\}" | tr -d '\r') ||
    fail "our road failed"
  received ours
  ours+=("$ms") peaks+=("$before→$after")
  start=$(date +%s.%N)
  ipptool ${LUMEO_BENCH_IPPTOOL_ARGS:-} -q -f "$pdf" "$url" "$here/print-job.test" || fail "ipptool's Print-Job failed its checks"
  anchor+=("$(echo "($(date +%s.%N) - $start) * 1000" | bc -l)")
  received ipptool
done
best() { printf '%s\n' "$@" | sort -g | head -1; }
o=$(best "${ours[@]}") a=$(best "${anchor[@]}")
printf 'Upload of %s MiB over %s, best of %s: ours %.0f ms (%s), ipptool %.0f ms (%s), ratio %.2f\n' \
  "$size" "$scheme" "$rounds" "$o" "${ours[*]}" "$a" "$(printf '%.0f ' "${anchor[@]}")" "$(echo "$o / $a" | bc -l)"
printf 'Our peak working set, before the send → after it (bytes): %s\n' "${peaks[*]}"
