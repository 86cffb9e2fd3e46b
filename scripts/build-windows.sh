#!/usr/bin/env bash
# Cross-builds mapeditor.exe and its tests for 64-bit Windows in DIR (default build-win/):
# scripts/build-windows.sh [DIR] [extra cmake options...]. Then `scripts/test-windows.sh` runs
# the tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$(realpath -m "${1:-build-win}")
shift || true
scripts/deps-windows.sh "$dir"
launcher=()
if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DMAPEDITOR_WIN_DEPS="$dir/deps/install" -DMAPEDITOR_BENCH=OFF \
    -DGTEST_SOURCE_DIR=/usr/src/googletest "$@" >/dev/null
cmake --build "$dir" -j 2
