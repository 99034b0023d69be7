#!/usr/bin/env bash
# Sends a 128 MiB and a 512 MiB file as the sheet sends them (SendPrintFiles) to a captured
# port under Wine, and times in the same run what the work is made of (spooler_bench_main.cpp):
# Lumeo's own steps alone (copy into the spool file, map, close it: the same sending with
# a spooler that takes every byte at once) and Wine's spooler alone on the same bytes.
# The anchor is `cp` of the same file to the same disk. Every time is the best of three.
# Prints, for the large file:
#   own steps / cp                          goal: at most 1.2 (the headline)
#   sending / (cp + spooler alone)          goal: at most 1.2
# and the sending process's peak memory after the 128 MiB and the large file: both
# exceed the 64 MiB mapped window, so equal peaks show memory flat in the file size.
# Exits non-zero, printing no ratio, when a run failed its checks or measured nothing.
#   bench/spooler/run-spooler-bench.sh [size-MiB]      (needs tools/build.sh windows)
# LUMEO_BENCH_PHASES=1 adds the time of each step of the sending on stderr.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
size_mib="${1:-512}"
exe="${LUMEO_BUILD_DIR:-$root/build/windows}/bench/spooler/spooler_bench.exe"
[ -f "$exe" ] || { echo "run-spooler-bench: $exe is missing; run tools/build.sh windows" >&2; exit 1; }
export LUMEO_WINEPREFIX="${LUMEO_WINEPREFIX:-$root/build/bench-prefix}"
work="$(mktemp -d "${TMPDIR:-/tmp}/lumeo-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

# Random bytes dressed as a PDF, so the content checks of a submission take them.
make_pdf() { { printf '%%PDF-1.7\n'; head -c $(($1 << 20)) /dev/urandom; printf '\n%%%%EOF\n'; } >"$2"; }
make_pdf 128 "$work/small.pdf"
make_pdf "$size_mib" "$work/large.pdf"
"$root/tools/wine-prefix" ensure

# cp is timed for the copy only, checked by its size.
now() { date +%s.%N; }
best_cp=""
for round in 1 2 3; do
  t0=$(now); cp "$work/large.pdf" "$work/sink_cp.prn"; t1=$(now)
  [ "$(stat -c %s "$work/sink_cp.prn")" = "$(stat -c %s "$work/large.pdf")" ] ||
    { echo "run-spooler-bench: cp copied a short file; no figures" >&2; exit 1; }
  rm -f "$work/sink_cp.prn"
  t=$(echo "$t1 - $t0" | bc -l)
  if [ -z "$best_cp" ] || [ "$(echo "$t < $best_cp" | bc -l)" = 1 ]; then best_cp=$t; fi
done

if ! out="$(LUMEO_BENCH_ROUNDS=3 "$root/tools/wine-run" "$exe" "$work/capture.prn" "$work/small.pdf" "$work/large.pdf")"; then
  echo "$out"
  echo "run-spooler-bench: a run failed its checks; no figures" >&2
  exit 1
fi
echo "$out"
awk -v cp="$best_cp" -v mib="$size_mib" '
  function fields(a) { for (i = 1; i <= NF; i++) { split($i, kv, "="); a[kv[1]] = kv[2] } }
  /file=.*large/ { fields(big) }
  /file=.*small/ { fields(small) }
  END {
    if (!(cp > 0 && big["seconds"] > 0 && big["own_seconds"] > 0 && big["spooler_only_seconds"] > 0 &&
          big["peak_working_set"] > 0 && small["peak_working_set"] > 0)) {
      print "run-spooler-bench: a time is missing or zero; no figures" > "/dev/stderr"
      exit 1
    }
    printf "%d MiB, best of 3: own steps %.3f s, cp %.3f s, sending %.3f s, spooler alone %.3f s\n",
      mib, big["own_seconds"], cp, big["seconds"], big["spooler_only_seconds"]
    printf "ratio own steps (copy into the spool file, map, close it) / cp = %.2f (goal <= 1.2)\n", big["own_seconds"] / cp
    printf "ratio sending / (cp + spooler alone) = %.2f (goal <= 1.2)\n",
      big["seconds"] / (cp + big["spooler_only_seconds"])
    printf "peak working set %.1f MiB after 128 MiB, %.1f MiB after %d MiB\n",
      small["peak_working_set"] / 1048576, big["peak_working_set"] / 1048576, mib
  }' <<<"$out"
