#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each over its seed corpus for a bounded time.
# Any crash, leak or sanitizer report fails the run.   run-fuzz.sh [seconds per target]
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-10}"
echo "run-fuzz: building the fuzz targets in build/fuzz (clang, ASan, UBSan; minutes on a first build)..."
status=0
# A target that does not build must not run as it was built before, and leaves no line of
# its own: the targets that did build still run, and the summary counts the missing one.
rm -f "$root"/build/fuzz/tests/fuzz/fuzz_*
if ! bash "$root/tools/build.sh" fuzz; then
  echo "run-fuzz: fuzz build failed; the targets it made run"
  ninja -C "$root/build/fuzz" -k 0 >/dev/null 2>&1
  status=1
fi
echo "run-fuzz: built; each target runs $seconds s over its seed corpus"
work="$root/build/fuzz/runs"
mkdir -p "$work"
for exe in "$root"/build/fuzz/tests/fuzz/fuzz_*; do
  [ -x "$exe" ] || continue
  name="${exe##*/fuzz_}"
  seeds="$root/tests/fuzz/corpus/$name"
  corpus="$work/$name"
  mkdir -p "$corpus"
  echo "run-fuzz: fuzzing $name for $seconds s..."
  if "$exe" -max_total_time="$seconds" -max_len=4096 -timeout=10 -artifact_prefix="$work/$name-" \
       "$corpus" "$seeds" >"$work/$name.log" 2>&1; then
    echo "fuzz $name: no finding ($(grep -c . "$work/$name.log") log lines)"
  else
    echo "fuzz $name: FINDING, see $work/$name.log"
    tail -40 "$work/$name.log"
    status=1
  fi
done
exit $status
