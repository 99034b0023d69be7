#!/usr/bin/env bash
# Installs what the builds, tests, demo and benchmarks use, from Debian's packages
# (run as root). Skips apt entirely when everything is there already.
set -euo pipefail
packages=(
  cmake ninja-build                # both builds
  g++                              # the native build of the portable core
  clang libclang-rt-14-dev         # the sanitized build and the libFuzzer targets (ASan/UBSan/fuzzer runtimes)
  googletest                       # GoogleTest sources, compiled into both builds (/usr/src/googletest)
  g++-mingw-w64-x86-64             # the Windows build: Lumeo.exe, Koretta.dll, vnMUIDLL.dll and the test programs
  binutils-mingw-w64-x86-64        # windres for the resource scripts
  mingw-w64-tools                  # widl for Koretta's type library
  wine wine64                      # runs the Windows build's tests, the demo and the spooler benchmark
  fonts-wine                       # Tahoma, the dialogs' font: the sheet-scaling test's golden image is drawn in it
  fonts-ipafont-gothic fonts-nanum # Japanese and Korean glyphs under Wine (tools/wine-prefix maps the dialog fonts
                                   # to them): the label-fit test measures real text, screenshots show it
  xvfb xauth                       # the virtual display (xvfb-run) for the windows under test
  xdotool                          # real keyboard and mouse input to the program under test
  python3-gi gir1.2-gtk-3.0        # a drag source on the X display: files dropped with the mouse (tests/support)
  imagemagick                      # import: screenshots of the sheet under Xvfb (README, review)
  snmpd                            # the real SNMP agent the network device-ID tests talk to
  snmp libsnmp-dev                 # snmpget and net-snmp's library: the SNMP benchmark's anchor
  cups-ipp-utils                   # ippeveprinter, the real IPP printer of the IPP tests; ipptool, bench/ipp's anchor
  avahi-daemon dbus                # ippeveprinter needs them running (tests/support/ipp_printer.sh starts them)
  nsis                             # makensis builds LumeoSetup.exe
  wixl msitools                    # wixl builds LumeoSetup.msi; msibuild/msiinfo finish it and read it for the winget manifest
  fp-utils                         # chmcmd compiles the help files HELP_xx.chm
  nlohmann-json3-dev               # the JSON document of LumeoCmd /json (header-only; only its folder is included)
  python3                          # language files, help pages and the test summary
  bc                               # the spooler benchmark's arithmetic
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -q
# Only what is named above: a recommendation that matters is in the list by name.
apt-get install -y -q --no-install-recommends "${missing[@]}"
# The package starts an agent on port 161; our tests run their own.
(systemctl disable --now snmpd 2>/dev/null || service snmpd stop 2>/dev/null || pkill -x snmpd) >/dev/null 2>&1 || true
