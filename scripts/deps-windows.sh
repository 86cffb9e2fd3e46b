#!/usr/bin/env bash
# What the Windows build needs beyond Debian's mingw-w64 packages (scripts/deps.sh installs those):
# libpng, expat, zstd and nlohmann's JSON headers, which Debian does not package for mingw,
# built from Debian's own source packages into DIR/deps (default build-win/deps) as static
# libraries, once; later runs find them there.
# Also makes the Wine prefix DIR/wine that the tests run in.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
dir=$(realpath -m "${1:-build-win}")
deps=$dir/deps
mkdir -p "$deps"

# apt-get source needs a deb-src entry: the same Debian mirror and suites that the machine's deb
# entries use.
ensure_deb_src() {
    if grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
        return
    fi
    if [ "$(id -u)" -ne 0 ]; then
        echo "No deb-src entry in /etc/apt/sources.list*; as root this script adds one." >&2
        exit 1
    fi
    local mirror
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
}

# Unpacks Debian's source package $1 into DIR/deps/src/$1 (once) and prints its folder.
debian_source() {
    local package=$1 folder=$deps/src/$1
    if ! ls -d "$folder"/*/debian >/dev/null 2>&1; then
        ensure_deb_src
        rm -rf "$folder" && mkdir -p "$folder"
        (cd "$folder" && apt-get source -qq "$package" >/dev/null)
    fi
    dirname "$(ls -d "$folder"/*/debian | head -1)"
}

# Builds the CMake project in $2 for Windows and installs it into DIR/deps/install; $1 names
# its build folder, the rest are its options.
cmake_install() {
    local name=$1 source=$2
    shift 2
    cmake -S "$source" -B "$deps/build/$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_INSTALL_PREFIX="$deps/install" "$@" >/dev/null
    cmake --build "$deps/build/$name" -j 2 >/dev/null
    cmake --install "$deps/build/$name" >/dev/null
}

if [ ! -f "$deps/install/lib/libpng16.a" ]; then
    cmake_install libpng "$(debian_source libpng1.6)" -DPNG_SHARED=OFF -DPNG_STATIC=ON \
        -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_TOOLS=OFF -DSKIP_INSTALL_PROGRAMS=ON \
        -DSKIP_INSTALL_EXECUTABLES=ON
fi
# The map tool's parsers: expat for TMX and TSX, nlohmann's JSON headers for TMJ, and zstd for
# the layer data Tiled compresses with it.
if [ ! -f "$deps/install/lib/libexpat.a" ]; then
    expat=$(debian_source expat)/expat
    # Debian's security fixes test "XML_DTD == 1", as its autotools build defines it; the CMake
    # build's configuration header defines it empty unless told the value.
    sed -i 's/^#cmakedefine XML_DTD$/#cmakedefine XML_DTD 1/' "$expat/expat_config.h.cmake"
    cmake_install expat "$expat" -DEXPAT_SHARED_LIBS=OFF \
        -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_EXAMPLES=OFF \
        -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_PKGCONFIG=OFF
fi
if [ ! -f "$deps/install/lib/libzstd.a" ]; then
    cmake_install zstd "$(debian_source libzstd)/build/cmake" -DZSTD_BUILD_SHARED=OFF \
        -DZSTD_BUILD_STATIC=ON -DZSTD_BUILD_PROGRAMS=OFF -DZSTD_BUILD_TESTS=OFF \
        -DZSTD_BUILD_CONTRIB=OFF -DZSTD_MULTITHREAD_SUPPORT=OFF -DZSTD_LEGACY_SUPPORT=OFF
fi
if [ ! -f "$deps/install/include/nlohmann/json.hpp" ]; then
    cmake_install nlohmann_json "$(debian_source nlohmann-json3)" -DJSON_BuildTests=OFF \
        -DJSON_Install=ON -DJSON_MultipleHeaders=ON
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
