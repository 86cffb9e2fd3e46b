#!/usr/bin/env bash
# Cross-builds the Windows tree (scripts/build-windows.sh) and runs its tests under Wine, in a
# virtual X server: scripts/test-windows.sh [DIR] (default build-win/).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build-win}
scripts/build-windows.sh "$dir"
export WINEPREFIX=$(realpath "$dir")/wine WINEDEBUG=-all
xvfb-run -a ctest --test-dir "$dir" --output-on-failure --no-tests=error
# Wine's server lingers a few seconds after the last program; end it with the run.
wineserver -k 2>/dev/null || true
