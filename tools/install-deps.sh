#!/usr/bin/env bash
# Installs the Debian packages Rilegora needs to build, run and test;
# with --windows also those of the Windows cross build.
set -euo pipefail
packages=(cmake g++ make qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n
          qt6-image-formats-plugins libgl-dev fonts-dejavu-core fonts-liberation2 poppler-utils
          cups printer-driver-cups-pdf clang libclang-rt-dev
          sshfs openssh-server openssh-client)  # the last three: tools/run-share-test.sh
# tools/build-windows.sh and tools/test-windows.sh: the MinGW-w64 cross
# compiler (posix threads, which Qt needs), Wine to run the build-time tools
# and the tests, Xvfb, xdotool, xwd and netpbm to drive and photograph the
# program's own windows, NSIS for the installer.
if [ "${1:-}" = "--windows" ]; then
  packages+=(g++-mingw-w64-x86-64-posix wine wine64 xvfb xauth xdotool x11-apps netpbm nsis dpkg-dev zip unzip
             fonts-dejavu-core fonts-liberation2 git)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
