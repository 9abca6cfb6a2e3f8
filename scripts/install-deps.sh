#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages the game needs to build, run and test.
# Only what is missing is installed; sudo is used when not running as root.
set -euo pipefail

PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-translations-l10n libqt6sql6-sqlite libsdl2-dev libsdl2-mixer-dev libfluidsynth-dev libsndfile1-dev
  timgm6mb-soundfont fluid-soundfont-gm fonts-ipafont-gothic fonts-ipafont-mincho fonts-dejavu-core
  xvfb xauth xdotool imagemagick x11-utils strace openbox
  dbus at-spi2-core python3-pyatspi
  lintian appstream desktop-file-utils man-db
)
if [ "${1:-}" = "--dev" ]; then
  PACKAGES+=(clang libclang-rt-14-dev sox fluidsynth dpkg-dev fakeroot)
fi

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
