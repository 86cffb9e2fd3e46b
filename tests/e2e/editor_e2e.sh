#!/usr/bin/env bash
# End to end: paints a field, changes a value, saves through the menu, closes the window the way
# its close box does, and checks the MAP file byte for byte and the exit code.
#
# Usage: editor_e2e.sh EDITOR_EXECUTABLE   (runs itself under xvfb-run when there is no display)
set -euo pipefail
. "$(dirname "$(readlink -f "$0")")/e2e_lib.sh"
e2e_begin "$(readlink -f "$0")" "$@"
e2e_start_editor

# Brush 3: focus the brush track bar and step it three times to the right.
click 530 496
for _ in 1 2 3; do xdotool key Right; sleep 0.1; done
# Paint field (2, 1): the new map's top-left corner is at view (58, 58), the view at (4, 4).
click $((4 + 58 + 2 * 64 + 20)) $((4 + 58 + 1 * 64 + 20))
# Slots from 8 to 6: select the field's text and type over it.
click 685 150
xdotool key ctrl+a
xdotool type --delay 100 6
sleep 0.3
# Datei > Speichern.
menu_datei 3
# Close the window as its close box does: the window manager asks it to close.
wmctrl -c "Veldrane Murmelwald Karteneditor"
expect_exit_0

expect_bytes Karten/NONAME.MAP '
struct.pack("<h", 10) + b"Neue Karte"
+ struct.pack("<7i", 1, 6, 4, 64, 64, 5, 5)
+ struct.pack("<3i", 0, 0, 0)
+ struct.pack("<36i", *[3 if i == 2 * 6 + 1 else 0 for i in range(36)])'
