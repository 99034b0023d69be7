#!/usr/bin/env bash
# Takes the golden images of the sheet-scaling test anew: Lumeo's Basic page at 96 and
# 144 dpi as the Windows build draws it now, written to tests/ui/data/. Never part of a
# test run: look at the new images before committing them (git diff lists them).
#   tools/update-golden-images.sh        (needs tools/build.sh windows; runs on Xvfb)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${LUMEO_BUILD_DIR:-$root/build/windows}"
exe="$build/tests/ui/sheet_scaling_tests.exe"
[ -f "$exe" ] || { echo "update-golden-images: $exe is missing; run tools/build.sh windows" >&2; exit 1; }
# The test's own prefix (tests/ui/CMakeLists.txt), so the images show what the test sees.
export LUMEO_WINEPREFIX="$build/wineprefix-scaling"
stamp="$(mktemp)"
trap 'rm -f "$stamp"' EXIT
status=0
xvfb-run -a -s "-screen 0 1280x1024x24" "$root/tools/wine-run" "$exe" --write-golden-images \
  --gtest_filter=SheetScaling.TheBasicPageEqualsTheGoldenImages || status=$?
WINEPREFIX="$LUMEO_WINEPREFIX" wineserver -k 2>/dev/null || true
for dpi in 96 144; do
  [ "$root/tests/ui/data/basic_page_${dpi}dpi.png" -nt "$stamp" ] ||
    { echo "update-golden-images: the image of $dpi dpi was not written" >&2; status=1; }
done
[ "$status" -eq 0 ] && git -C "$root" status --short tests/ui/data
exit "$status"
