#!/usr/bin/env bash
# Installs what is missing, builds both builds and runs every test.
# Ends with one summary line: "N passed, N failed, N skipped", counting test cases.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
bash tools/install-deps.sh || { echo "0 passed, 1 failed, 0 skipped"; exit 1; }

# Wine names host files in the locale's character set: without UTF-8 a test file named
# "Übersicht 日本.pdf" cannot be made or found.
case "$(locale charmap 2>/dev/null)" in
  UTF-8) ;;
  *) export LANG=C.UTF-8; unset LC_ALL ;;
esac

export LUMEO_WINEPREFIX="${LUMEO_WINEPREFIX:-$root/build/wineprefix}"
export WINEPREFIX="$LUMEO_WINEPREFIX"
passed=0
failed=0
skipped=0

# run_ctest <build> [command prefix...]: runs that build's tests and adds up their cases.
# Windows test programs must write a GoogleTest report each: their cases count one by
# one, and a program without a report with cases counts as failed.
run_ctest() {
  local build="$1"; shift
  local dir="$root/build/$build"
  local reports=() kind=native
  [ "$build" = windows ] && reports=("$dir/gtest-results") && kind=windows
  rm -rf "$dir/gtest-results" "$dir/ctest-junit.xml"
  mkdir -p "$dir/gtest-results"
  "$@" bash -c "cd '$dir' && ctest --output-on-failure -j2 --output-junit ctest-junit.xml" 2>&1 | tee "$dir/ctest.log"
  # Every test program the tree declares must have run: one dropped from the build fails.
  (cd "$dir" && ctest --show-only=json-v1 >ctest-tests.json)
  local counts
  if ! counts=$(python3 "$root/tools/test-summary.py" "$dir/ctest-junit.xml" "${reports[@]}" \
                  --expect "$root" "$kind" --ctest-json "$dir/ctest-tests.json"); then
    echo "no test results for $build"
    failed=$((failed + 1))
    return
  fi
  read -r p f s <<<"$counts"
  echo "$build: $p passed, $f failed, $s skipped"
  passed=$((passed + p)); failed=$((failed + f)); skipped=$((skipped + s))
}

build_or_fail() {
  bash tools/build.sh "$1" && return 0
  echo "build $1 failed"
  failed=$((failed + 1))
  return 1
}

build_or_fail native && run_ctest native
build_or_fail sanitize && run_ctest sanitize

# Fuzz targets, a bounded time each; every target is one test, and one the tree declares
# that did not build or run counts as failed.
fuzz_log="$root/build/fuzz-run.log"
bash tools/run-fuzz.sh "${LUMEO_FUZZ_SECONDS:-10}" 2>&1 | tee "$fuzz_log"
if fuzz_counts=$(python3 tools/test-summary.py --fuzz "$fuzz_log" "$root"); then
  read -r p f s <<<"$fuzz_counts"
  echo "fuzz: $p passed, $f failed"
  passed=$((passed + p)); failed=$((failed + f))
else
  echo "no fuzz target ran"; failed=$((failed + 1))
fi
if build_or_fail windows; then
  run_ctest windows xvfb-run -a -s "-screen 0 1280x1024x24" tools/with-wine.sh
fi

echo "$passed passed, $failed failed, $skipped skipped"
[ "$failed" -eq 0 ]
