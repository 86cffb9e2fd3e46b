#!/usr/bin/env bash
# Builds and runs the benchmarks; each prints its ratios against a baseline of the same run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh build
for b in build/bench/*_bench; do
    echo "== $b"
    "$b"
done
