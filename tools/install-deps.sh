#!/usr/bin/env bash
# Installs the Debian packages Rilegora needs to build, run and test.
set -euo pipefail
packages=(cmake g++ make qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n
          qt6-image-formats-plugins libgl-dev fonts-dejavu-core fonts-liberation2 poppler-utils
          cups printer-driver-cups-pdf clang libclang-rt-dev
          sshfs openssh-server openssh-client)  # the last three: tools/run-share-test.sh
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
