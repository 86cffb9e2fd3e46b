#!/usr/bin/env bash
# Builds and runs the benchmarks; each prints its ratios against a baseline of the same run
# (maptool against Tiled's tmxrasterizer rendering the same map).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh build
for b in build/bench/*_bench; do
    echo "== $b"
    "$b"
done
echo "== bench/maptool_vs_tmxrasterizer.sh"
bench/maptool_vs_tmxrasterizer.sh build
