#!/usr/bin/env bash
# End to end: unsaved changes are never lost unasked. Paints, asks to quit and answers
# Abbrechen (the editor stays), undoes with Strg+Z and quits without a question; then paints,
# saves with Strg+S and quits without a question. The MAP file is checked byte for byte each
# time, and nothing is left beside it.
#
# Usage: editor_e2e_unsaved.sh EDITOR_EXECUTABLE   (runs itself under xvfb-run when needed)
set -euo pipefail
. "$(dirname "$(readlink -f "$0")")/e2e_lib.sh"
e2e_begin "$(readlink -f "$0")" "$@"

new_map='struct.pack("<h", 10) + b"Neue Karte" + struct.pack("<7i", 1, 8, 4, 64, 64, 5, 5)
+ struct.pack("<3i", 0, 0, 0)'

e2e_start_editor
xdotool key ctrl+s
sleep 0.5
expect_bytes Karten/NONAME.MAP "$new_map + struct.pack('<36i', *[0] * 36)"
choose_brush 3
paint_field 2 1
xdotool key ctrl+q
sleep 1
requester_open || { echo "no question before quitting a changed map"; exit 1; }
xdotool key Escape  # Abbrechen
sleep 0.5
editor_running || { echo "the editor ended although Abbrechen was chosen"; exit 1; }
xdotool key ctrl+z
sleep 0.3
xdotool key ctrl+q  # nothing changed any more: no question
expect_exit_0
expect_bytes Karten/NONAME.MAP "$new_map + struct.pack('<36i', *[0] * 36)"

e2e_start_editor
choose_brush 3
paint_field 2 1
xdotool key ctrl+s
sleep 0.5
xdotool key ctrl+q
expect_exit_0
expect_bytes Karten/NONAME.MAP "$new_map + struct.pack('<36i', *[3 if i == 2 * 6 + 1 else 0 for i in range(36)])"
leftovers=$(ls -A Karten)
[ "$leftovers" = "NONAME.MAP" ] || { echo "left in Karten: $leftovers"; exit 1; }
