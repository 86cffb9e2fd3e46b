#!/usr/bin/env bash
# End to end: `mapeditor FOLDER`, started elsewhere, opens its window working in FOLDER (where
# its maps are FOLDER/Karten) and closes with exit code 0.
#
# Usage: editor_e2e_folder.sh EDITOR_EXECUTABLE   (runs itself under xvfb-run when there is no display)
set -euo pipefail
. "$(dirname "$(readlink -f "$0")")/e2e_lib.sh"
e2e_begin "$(readlink -f "$0")" "$@"
mkdir "Meine Karten"
e2e_start_editor "Meine Karten"
expect_working_folder "$work/Meine Karten"
wmctrl -c "Veldrane Murmelwald Karteneditor"
expect_exit_0
