#!/usr/bin/env bash
# End to end: `mapeditor FOLDER` works in FOLDER: Datei > Speichern writes FOLDER/Karten, not
# the folder it was started from.
#
# Usage: editor_e2e_folder.sh EDITOR_EXECUTABLE   (runs itself under xvfb-run when there is no display)
set -euo pipefail
. "$(dirname "$(readlink -f "$0")")/e2e_lib.sh"
e2e_begin "$(readlink -f "$0")" "$@"
mkdir "Meine Karten"
e2e_start_editor "Meine Karten"

menu_datei 3
wmctrl -c "Veldrane Murmelwald Karteneditor"
expect_exit_0

[ -f "Meine Karten/Karten/NONAME.MAP" ] || { echo "nothing saved in Meine Karten/Karten"; ls -R; exit 1; }
[ ! -e Karten ] || { echo "saved beside the folder it was started from"; ls -R; exit 1; }
echo "saved into Meine Karten/Karten"
