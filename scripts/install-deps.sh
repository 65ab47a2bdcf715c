#!/usr/bin/env bash
# Installs every Debian package that building, running, testing and benchmarking
# Pixalto needs. Packages already present are skipped, so a second call is quick.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  libfreeimage-dev libdevil-dev libjxr-dev libjxr-tools
  libarchive-dev libpng-dev libjpeg-dev zlib1g-dev libicu-dev
  qt6-base-dev libgl-dev
  libfontconfig-dev fontconfig fonts-liberation fonts-dejavu-core
  libgtest-dev libgmock-dev
  clang libclang-rt-14-dev
  imagemagick graphicsmagick netpbm hyperfine time python3
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
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
