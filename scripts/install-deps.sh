#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the viewer need, when they are missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev fonts-dejavu-core fonts-ipafont-gothic
    libgtest-dev googletest libbenchmark-dev
    clang libclang-rt-dev
    cups cups-bsd printer-driver-cups-pdf poppler-utils librsvg2-bin
    xvfb xauth
    binutils desktop-file-utils appstream dpkg-dev
    python3-dev pybind11-dev python3-numpy python3-pytest python3-pandas python3-matplotlib
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing Debian packages: ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
