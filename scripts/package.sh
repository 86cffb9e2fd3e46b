#!/usr/bin/env bash
# Installs what is missing, builds, and makes the Debian package in out/ (cpack -G DEB); its
# dependencies are the packages dpkg-shlibdeps finds for the libraries the programs use.
# The Maintainer field names DEBFULLNAME <DEBEMAIL> when they are set, else login@host.
# Install the package with: sudo apt install ./out/karteneditor_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh build
(cd build && cpack -G DEB -B "$PWD/../out")
rm -rf out/_CPack_Packages
ls out/*.deb
