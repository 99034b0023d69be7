#!/usr/bin/env bash
# Installs what is missing, builds both builds and runs every test.
# Ends with one summary line: "N passed, N failed".
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash tools/install-deps.sh || { echo "0 passed, 1 failed"; exit 1; }

export LUMEO_WINEPREFIX="${LUMEO_WINEPREFIX:-$root/build/wineprefix}"
export WINEPREFIX="$LUMEO_WINEPREFIX"
passed=0
failed=0

# run_ctest <build> [command prefix...]: runs that build's tests and adds up the counts.
run_ctest() {
  local build="$1"; shift
  local log="$root/build/$build/ctest.log"
  "$@" bash -c "cd '$root/build/$build' && ctest --output-on-failure -j2" 2>&1 | tee "$log"
  local line
  line=$(grep -E "tests passed, [0-9]+ tests failed out of [0-9]+" "$log" | tail -1)
  if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
  local counts
  counts=$(echo "$line" | sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1 \2/')
  passed=$((passed + ${counts#* } - ${counts% *}))
  failed=$((failed + ${counts% *}))
}

build_or_fail() {
  bash tools/build.sh "$1" && return 0
  echo "build $1 failed"
  failed=$((failed + 1))
  return 1
}

build_or_fail native && run_ctest native
build_or_fail sanitize && run_ctest sanitize

# Fuzz targets, a bounded time each; every target is one test.
fuzz_log="$root/build/fuzz-run.log"
bash tools/run-fuzz.sh "${LUMEO_FUZZ_SECONDS:-10}" 2>&1 | tee "$fuzz_log"
passed=$((passed + $(grep -c "^fuzz .*: no finding" "$fuzz_log")))
failed=$((failed + $(grep -c -E "^fuzz .*: FINDING|^fuzz build failed" "$fuzz_log")))
if build_or_fail windows; then
  run_ctest windows xvfb-run -a -s "-screen 0 1280x1024x24" tools/with-wine.sh
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
