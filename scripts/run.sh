#!/usr/bin/env bash
# Installs what is missing, builds, and starts the map editor with the sample maps.
# The editor works in the folder run/ (made on first start from samples/), so its maps live in
# run/Karten and saving never touches the samples kept in the repository.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
scripts/build.sh build

if [ ! -d run/Karten ]; then
    mkdir -p run
    cp -r samples/Karten run/
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    cat <<'MSG'
The editor is built, but there is no display to show its window on (neither DISPLAY nor
WAYLAND_DISPLAY is set). Start it from a desktop session, or inside a virtual X server:

    xvfb-run -a -s "-screen 0 1280x1024x24" scripts/run.sh

(under xvfb-run the window is invisible; take a screenshot with
 `import -window root shot.png` from the same X server to look at it).
MSG
    exit 1
fi

cd run
exec ../build/editor/mapeditor
