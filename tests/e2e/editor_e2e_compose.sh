#!/usr/bin/env bash
# End to end: composing a map. Paints two fields, chooses "Auswahl" with Strg+2, selects the two
# with a drag, copies them with Strg+C, pastes them elsewhere with Strg+V and a click, moves the
# pasted fields one field to the right with the arrow key and puts them down with Return (the
# brush fills what they uncover), chooses "Rechteck" with Strg+3 and drags a rectangle up and to
# the left (the release fills it with the brush), starts another and lets it go with Escape,
# saves with Strg+S and checks the MAP file byte for byte.
#
# Usage: editor_e2e_compose.sh EDITOR_EXECUTABLE   (runs itself under xvfb-run when needed)
set -euo pipefail
. "$(dirname "$(readlink -f "$0")")/e2e_lib.sh"
e2e_begin "$(readlink -f "$0")" "$@"

new_map='struct.pack("<h", 10) + b"Neue Karte" + struct.pack("<7i", 1, 8, 4, 64, 64, 5, 5)
+ struct.pack("<3i", 0, 0, 0)'
# The client point in field (x, y) of a map as Neu shows it.
field_x() { echo $((4 + 58 + $1 * 64 + 32)); }
field_y() { echo $((4 + 58 + $1 * 64 + 32)); }

e2e_start_editor
choose_brush 3
paint_field 0 0
choose_brush 2  # two steps on: 5
paint_field 1 0
xdotool key ctrl+2
sleep 0.3
stroke "$(field_x 0)" "$(field_y 0)" "$(field_x 1)" "$(field_y 0)"
xdotool key ctrl+c
sleep 0.3
client "$(field_x 3)" "$(field_y 3)"
xdotool key ctrl+v
sleep 0.3
client "$(field_x 3)" "$(field_y 3)"
xdotool click 1
sleep 0.3
xdotool key Escape  # no more copies
sleep 0.3
xdotool key Right
sleep 0.3
xdotool key Return
sleep 0.3
xdotool key ctrl+3
sleep 0.3
stroke "$(field_x 2)" "$(field_y 5)" "$(field_x 1)" "$(field_y 4)" "$(field_x 0)" "$(field_y 4)"
client "$(field_x 4)" "$(field_y 0)"
xdotool mousedown 1
sleep 0.2
client "$(field_x 5)" "$(field_y 1)"
xdotool key Escape
sleep 0.3
xdotool mouseup 1
sleep 0.3
xdotool key ctrl+s
sleep 0.5
xdotool key ctrl+q
expect_exit_0
# Fields go column by column: (x, y) is value x * 6 + y.
expect_bytes Karten/NONAME.MAP "$new_map + struct.pack('<36i', *[
    {0: 3, 6: 5, 3 * 6 + 3: 5, 4 * 6 + 3: 3, 5 * 6 + 3: 5,
     4: 5, 5: 5, 6 + 4: 5, 6 + 5: 5, 2 * 6 + 4: 5, 2 * 6 + 5: 5}.get(i, 0) for i in range(36)])"
