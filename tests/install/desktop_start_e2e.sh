#!/usr/bin/env bash
# End to end, from the unpacked package: the desktop entry's command, as a menu runs it, makes
# the user's data folder with the sample maps and works there; a second start keeps what the
# user changed there. Each start closes its window the way the close box does and must end with
# exit code 0.
#
# Usage: desktop_start_e2e.sh UNPACKED_ROOT/usr/bin/mapeditor   (runs itself under xvfb-run)
set -euo pipefail
. "$(dirname "$(readlink -f "$0")")/../e2e/e2e_lib.sh"
e2e_begin "$(readlink -f "$0")" "$@"
fail() { echo "FAIL: $*"; exit 1; }

usr=$(dirname "$(dirname "$editor")")
id=org.karteneditor.Karteneditor
samples=$usr/share/$id/Karten
export XDG_DATA_HOME=$work/data
data=$XDG_DATA_HOME/$id
# The menu finds the program on PATH and runs the entry's Exec line (it has no field codes).
export PATH=$usr/bin:$PATH
read -ra command <<<"$(sed -n 's/^Exec=//p' "$usr/share/applications/$id.desktop")"
editor=${command[0]}

e2e_start_editor "${command[@]:1}"
expect_working_folder "$data"
diff -r "$samples" "$data/Karten" || fail "the data folder's Karten differs from the sample maps"
wmctrl -c "Veldrane Murmelwald Karteneditor"
expect_exit_0

# The user changes a sample map and deletes another's tile set.
printf 'changed' >"$data/Karten/Wald.MAP"
rm "$data/Karten/Insel.PNG"
(cd "$data" && find . -type f -exec md5sum {} + | sort) >"$work/before"

e2e_start_editor "${command[@]:1}"
expect_working_folder "$data"
wmctrl -c "Veldrane Murmelwald Karteneditor"
expect_exit_0
(cd "$data" && find . -type f -exec md5sum {} + | sort) >"$work/after"
diff "$work/before" "$work/after" || fail "the second start changed the data folder"
echo "first start made $data with the sample maps; the second kept the user's changes"
