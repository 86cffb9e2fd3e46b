#!/usr/bin/env bash
# Installs what is missing, builds, and starts the map editor.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh build
if [ ! -x build/editor/mapeditor ]; then
    echo "Built the runtime and the map document with their tests."
    echo "The editor window is not there yet: it comes with the window, screen and editor work."
    exit 0
fi
