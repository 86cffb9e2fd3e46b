#!/usr/bin/env bash
# What the Windows build needs beyond Debian's mingw-w64 packages (scripts/deps.sh installs those):
# libpng, which Debian does not package for mingw, built from Debian's own source package into
# DIR/deps (default build-win/deps) as a static library, once; later runs find it there.
# Also makes the Wine prefix DIR/wine that the tests run in.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
dir=$(realpath -m "${1:-build-win}")
deps=$dir/deps
mkdir -p "$deps"

if [ ! -f "$deps/install/lib/libpng16.a" ]; then
    if ! ls "$deps"/src/libpng1.6-*/CMakeLists.txt >/dev/null 2>&1; then
        # apt-get source needs a deb-src entry: the same Debian mirror and suites that the
        # machine's deb entries use.
        if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
            if [ "$(id -u)" -ne 0 ]; then
                echo "No deb-src entry in /etc/apt/sources.list*; as root this script adds one." >&2
                exit 1
            fi
            mirror=$(grep -rhs '^URIs:.*debian$\|^URIs:.*debian/$' /etc/apt/sources.list.d/ | head -1 | awk '{print $2}')
            mirror=${mirror:-http://deb.debian.org/debian}
            cat > /etc/apt/sources.list.d/mapeditor-sources.sources <<SRC
Types: deb-src
URIs: $mirror
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
            apt-get -o DPkg::Lock::Timeout=900 update -qq
        fi
        rm -rf "$deps/src" && mkdir -p "$deps/src"
        (cd "$deps/src" && apt-get source -qq libpng1.6 >/dev/null)
    fi
    src=$(ls -d "$deps"/src/libpng1.6-*/ | head -1)
    cmake -S "$src" -B "$deps/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_INSTALL_PREFIX="$deps/install" -DPNG_SHARED=OFF -DPNG_STATIC=ON \
        -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF -DSKIP_INSTALL_PROGRAMS=ON \
        -DSKIP_INSTALL_EXECUTABLES=ON >/dev/null
    cmake --build "$deps/build" -j 2 >/dev/null
    cmake --install "$deps/build" >/dev/null
fi

# The Wine prefix of the tests: made once, quietly.
export WINEPREFIX=$dir/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
fi
# Every Windows system has Courier, whose outline stand-in is fixed-pitch; Wine here has
# neither, so the prefix names an installed fixed-pitch face for it.
if ! grep -q '"Courier"="Liberation Mono"' "$WINEPREFIX/system.reg"; then
    wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
    "$wine" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
        /v Courier /d 'Liberation Mono' /f >/dev/null 2>&1
    wineserver -w
fi
# The tests' virtual X server has no window manager. Wine leaves its windows to one unless
# told otherwise, and then waits two seconds for it at every window that closes; unmanaged,
# Wine itself frames, places and activates them, as Windows does.
if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg"; then
    wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
fi
# The editor's end-to-end scenarios run it as on a desktop, under a window manager that frames
# its window (so that the window's picture starts with the client area, as on Linux).
if ! grep -q 'AppDefaults\\\\mapeditor.exe\\\\X11 Driver' "$WINEPREFIX/user.reg"; then
    wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
    "$wine" reg add 'HKCU\Software\Wine\AppDefaults\mapeditor.exe\X11 Driver' /v Managed \
        /d Y /f >/dev/null 2>&1
    wineserver -w
fi
