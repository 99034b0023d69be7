#!/usr/bin/env bash
# Screenshots of the pages of the sheet in every language at 96 and 144 dpi, with Long
# Edge and a paper of long name, for looking at what the summary panel shows:
# out/preview-shots/<page>_<paper>_<lang>_<dpi>.png; and the Finishing page of an IPP
# printer with trays, bins, finishings and PIN printing (ippeveprinter with
# tests/data/ipp/ticket_printer.conf): page2_<lang>_<dpi>.png. Never part of a test run.
#   xvfb-run -a -s "-screen 0 1280x1024x24" tools/preview-shots.sh [PAPER...]   (MONARCH EXECUTIVE)
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${LUMEO_BUILD_DIR:-$root/build/windows}"
out="${LUMEO_SHOTS_DIR:-$root/out/preview-shots}"
exe="$build/bin/Lumeo.exe"
tool="$build/tests/app/lumeo_demo_file_printer.exe"
papers=("${@:-MONARCH EXECUTIVE}")
[ -f "$exe" ] && [ -f "$tool" ] || { echo "preview-shots: run tools/build.sh windows first" >&2; exit 1; }
export LUMEO_WINEPREFIX="$build/wineprefix-shots"
mkdir -p "$out"
run() { "$root/tools/wine-run" "$@"; }
stop() { WINEPREFIX="$LUMEO_WINEPREFIX" wineserver -k 2>/dev/null || true; }
run "$tool" "$out" >/dev/null
peer="$(mktemp -d /tmp/lumeo_shots_ipp.XXXXXX)"
sh "$root/tests/support/ipp_printer.sh" "$peer" printer -a "$root/tests/data/ipp/ticket_printer.conf"
trap 'kill "$(cat "$peer/pid")" 2>/dev/null; rm -rf "$peer"' EXIT
run "$tool" --add "Lumeo Demo Finishing" "ipp://127.0.0.1:$(cat "$peer/port")/ipp/print" >/dev/null
declare -A locales=([EN]=en_US.UTF-8 [FN]=fr_FR.UTF-8 [GR]=de_DE.UTF-8 [JP]=ja_JP.UTF-8 [KR]=ko_KR.UTF-8)
sample="Z:$(echo "$root/resources/samples/sample.pdf" | tr '/' '\\')"
for dpi in 96 144; do
  for lang in EN FN GR JP KR; do
    for paper in ${papers[*]}; do
      run reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
      stop  # the DPI takes with a new Wine server
      # The language follows the user's, as the multilingual library reads it.
      LC_ALL="${locales[$lang]}" run "$exe" /duplex long /paper "$paper" -M "Lumeo Demo File" "$sample" &
      for page in 0 1; do
        run "$tool" --show-page "$page" >/dev/null
        sleep 3  # the splash closes after two seconds
        wid="$(xdotool search --onlyvisible --name '^Lumeo$' | head -1)"
        import -window "$wid" "$out/page${page}_${paper}_${lang}_${dpi}.png"
      done
      stop
      wait || true
    done
    run reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null
    stop
    LC_ALL="${locales[$lang]}" run "$exe" /paper a4 /tray bysize /bin face-up /finish staple-top-left,punch-dual-left \
      /pin -M "Lumeo Demo Finishing" "$sample" &
    run "$tool" --show-page 2 >/dev/null
    sleep 4  # the splash, and the printer's check
    wid="$(xdotool search --onlyvisible --name '^Lumeo$' | head -1)"
    import -window "$wid" "$out/page2_${lang}_${dpi}.png"
    stop
    wait || true
  done
done
echo "preview-shots: $out"
