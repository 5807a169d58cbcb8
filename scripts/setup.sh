#!/usr/bin/env bash
# Installs every Debian package the project needs, if it is missing.
# Safe to run again: packages already present are skipped.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config ccache git
  clang lld
  libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev libsdl2-mixer-dev
  liblua5.1-0-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libfontconfig-dev fontconfig fonts-wqy-microhei fonts-dejavu-core
  libcairo2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libmp3lame-dev
  nlohmann-json3-dev libcli11-dev zlib1g-dev
)

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

echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
