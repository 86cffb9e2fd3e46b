#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs, when they are missing.
# As root it runs apt-get itself; otherwise it prints the exact command and stops.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config ccache
    libgtest-dev libgmock-dev libbenchmark-dev
    libpng-dev zlib1g-dev libzstd-dev nlohmann-json3-dev libexpat1-dev
    qt6-base-dev qt6-translations-l10n
    clang libclang-rt-14-dev
    xvfb xauth xdotool x11-utils x11-apps openbox wmctrl
    tiled time python3 zstd
    fonts-liberation fonts-dejavu-core
    librsvg2-bin desktop-file-utils appstream dpkg-dev file man-db strace
    # The Windows build (scripts/build-windows.sh): the cross compiler, zlib for it, GoogleTest's
    # sources, and Wine to run the tests.
    g++-mingw-w64-x86-64-posix libz-mingw-w64-dev googletest wine wine64
    # The Windows packages (scripts/package-windows.sh): the setup program's maker and the
    # icon's converter.
    nsis icoutils
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
