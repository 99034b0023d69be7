#!/usr/bin/env bash
# Sends a 128 MiB and a 512 MiB file through SendDataToDevice to a captured port under
# Wine, and in the same run times what the work is made of when done by the fastest
# means at hand: `cp` of the file to a file on the same disk (the spool file's copy)
# and Wine's spooler alone on the same bytes (the file itself mapped and written to the
# same printer, no spool file). Every time is the best of three. Prints
#   ratio = SendDataToDevice / (cp + spooler alone)      goal: at most 1.2
# and the sending process's peak memory after the 128 MiB and the 512 MiB file: both
# exceed the 64 MiB mapped window, so equal peaks show memory flat in the file size.
#   bench/spooler/run-spooler-bench.sh [size-MiB]      (needs tools/build.sh windows)
# LUMEO_BENCH_PHASES=1 adds the time of each step of SendDataToDevice on stderr.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
size_mib="${1:-512}"
exe="${LUMEO_BUILD_DIR:-$root/build/windows}/bench/spooler/spooler_bench.exe"
[ -f "$exe" ] || { echo "run-spooler-bench: $exe is missing; run tools/build.sh windows" >&2; exit 1; }
export LUMEO_WINEPREFIX="${LUMEO_WINEPREFIX:-$root/build/bench-prefix}"
work="$(mktemp -d "${TMPDIR:-/tmp}/lumeo-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# Random bytes behind a PDF's first bytes: Lumeo sends only files that are what they say.
{ printf '%%PDF-1.7\n'; head -c $((128 << 20)) /dev/urandom; } >"$work/small.pdf"
{ printf '%%PDF-1.7\n'; head -c $((size_mib << 20)) /dev/urandom; } >"$work/large.pdf"
"$root/tools/wine-prefix" ensure

# cp as the spool file's copy is timed: the copy only (its removal, as for the spool file,
# happens after the clock stops for cp but inside SendDataToDevice's time).
now() { date +%s.%N; }
best_cp=""
for round in 1 2 3; do
  t0=$(now); cp "$work/large.pdf" "$work/sink_cp.prn"; t1=$(now)
  rm -f "$work/sink_cp.prn"
  t=$(echo "$t1 - $t0" | bc -l)
  if [ -z "$best_cp" ] || [ "$(echo "$t < $best_cp" | bc -l)" = 1 ]; then best_cp=$t; fi
done

out="$(LUMEO_BENCH_ROUNDS=3 "$root/tools/wine-run" "$exe" "$work/capture.prn" "$work/small.pdf" "$work/large.pdf")"
echo "$out"
awk -v cp="$best_cp" -v mib="$size_mib" '
  /file=.*large/ { for (i = 1; i <= NF; i++) { split($i, kv, "="); v[kv[1]] = kv[2] } send = v["seconds"]; spl = v["spooler_only_seconds"]; big = v["peak_working_set"] }
  /file=.*small/ { for (i = 1; i <= NF; i++) { split($i, kv, "="); w[kv[1]] = kv[2] } small = w["peak_working_set"] }
  END {
    printf "%d MiB, best of 3: SendDataToDevice %.3f s, cp %.3f s, spooler alone %.3f s\n", mib, send, cp, spl
    printf "ratio SendDataToDevice / (cp + spooler alone) = %.2f (goal <= 1.2)\n", send / (cp + spl)
    printf "peak working set %.1f MiB after 128 MiB, %.1f MiB after %d MiB\n", small / 1048576, big / 1048576, mib
  }' <<<"$out"
