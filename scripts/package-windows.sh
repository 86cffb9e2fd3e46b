#!/usr/bin/env bash
# Installs what is missing, cross-builds for Windows (scripts/build-windows.sh, in build-win/)
# and puts the two Windows packages into out/:
#   out/Karteneditor-<version>-win64.zip    the portable ZIP: unpack anywhere and start
#                                           mapeditor.exe (the maps are in Karten beside it);
#   out/Karteneditor-<version>-setup.exe    the setup program (NSIS): installs for the user or
#                                           for all users, with a Start menu entry and an
#                                           uninstaller.
# The ZIP's entries carry the time SOURCE_DATE_EPOCH names (else the release date), so the same
# sources give the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build-windows.sh build-win
mkdir -p out
version=$(sed -n 's/^project(MapEditor VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
for package in "Karteneditor-$version-win64.zip" "Karteneditor-$version-setup.exe"; do
    cp "build-win/packages/$package" out/
    ls -l "out/$package"
done
