#!/usr/bin/env bash
# Sends a 512 MiB file through SendDataToDevice to a captured port under Wine and,
# in the same run, times `cp` of the file and `cat` of it into the same kind of
# sink (a file on the same disk). Prints the ratios and the sending process's peak
# memory after a 128 MiB and after the 512 MiB file: both exceed the 64 MiB mapped
# window, so equal peaks show the memory does not grow with the file size.
#   bench/spooler/run-spooler-bench.sh [size-MiB]      (needs tools/build.sh windows)
# The spool file in the temporary folder is one copy of the data by design.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
size_mib="${1:-512}"
exe="${LUMEO_BUILD_DIR:-$root/build/windows}/bench/spooler/spooler_bench.exe"
[ -f "$exe" ] || { echo "run-spooler-bench: $exe is missing; run tools/build.sh windows" >&2; exit 1; }
export LUMEO_WINEPREFIX="${LUMEO_WINEPREFIX:-$root/build/bench-prefix}"
work="$(mktemp -d "${TMPDIR:-/tmp}/lumeo-bench.XXXXXX")"
trap 'rm -rf "$work"' EXIT

head -c $((128 << 20)) /dev/urandom >"$work/small.pdf"
head -c $((size_mib << 20)) /dev/urandom >"$work/large.pdf"
"$root/tools/wine-prefix" ensure

now() { date +%s.%N; }
t0=$(now); cp "$work/large.pdf" "$work/sink_cp.prn"; t1=$(now)
cat "$work/large.pdf" >"$work/sink_cat.prn"; t2=$(now)
rm -f "$work/sink_cp.prn" "$work/sink_cat.prn"

out="$("$root/tools/wine-run" "$exe" "$work/capture.prn" "$work/small.pdf" "$work/large.pdf")"
echo "$out"
awk -v cp="$(echo "$t1 - $t0" | bc -l)" -v cat="$(echo "$t2 - $t1" | bc -l)" -v mib="$size_mib" '
  /file=.*large/ { for (i = 1; i <= NF; i++) { split($i, kv, "="); v[kv[1]] = kv[2] } send = v["seconds"]; spl = v["spooler_only_seconds"]; big = v["peak_working_set"]; bigpf = v["peak_pagefile"] }
  /file=.*small/ { for (i = 1; i <= NF; i++) { split($i, kv, "="); w[kv[1]] = kv[2] } small = w["peak_working_set"]; smallpf = w["peak_pagefile"] }
  END {
    printf "%d MiB: SendDataToDevice %.3f s, cp %.3f s, cat %.3f s\n", mib, send, cp, cat
    printf "ratio send/cp %.2f, send/cat %.2f (target <= 1.5)\n", send / cp, send / cat
    printf "Wine spooler alone (file mapped and written, no spool file) %.3f s = %.2f x cp; send/spooler-alone %.2f\n",
      spl, spl / cp, send / spl
    printf "peak working set %.1f MiB after 128 MiB, %.1f MiB after %d MiB; peak pagefile %.1f / %.1f MiB\n",
      small / 1048576, big / 1048576, mib, smallpf / 1048576, bigpf / 1048576
  }' <<<"$out"
