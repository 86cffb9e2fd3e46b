#!/usr/bin/env bash
# Configures and builds one build directory: scripts/build.sh [DIR] [extra cmake options...]
# Compiles through ccache when it is installed; paths are hashed relative to the checkout, so
# a second checkout of the same sources (CI, a worktree) reuses the objects.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
shift || true
launcher=()
if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" -j "$(nproc)"
