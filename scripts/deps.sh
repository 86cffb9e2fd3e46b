#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs, when they are missing.
# As root it runs apt-get itself; otherwise it prints the exact command and stops.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config ccache
    libgtest-dev libgmock-dev libbenchmark-dev
    libpng-dev zlib1g-dev
    qt6-base-dev
    clang libclang-rt-14-dev
    xvfb xauth xdotool x11-utils openbox wmctrl
    fonts-liberation fonts-dejavu-core
    librsvg2-bin desktop-file-utils appstream dpkg-dev file man-db strace
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
    echo "Missing packages: ${missing[*]}"
    echo "Install them with:"
    echo "  sudo apt-get update && sudo apt-get install -y ${missing[*]}"
    exit 1
fi
