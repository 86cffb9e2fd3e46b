#!/usr/bin/env bash
# End to end on the sample map Wald: opens it through the open requester (Strg+O, its file name,
# Return), checks the map view pixel for pixel against tests/data/e2e/wald_view.png, paints a
# field, saves with Strg+S and ends with Strg+Q; then the MAP file byte for byte.
#
# The Linux program and mapeditor.exe under Wine both run this scenario, so both show the same
# 500 x 500 pixels and write the same bytes. The picture was taken from the Linux program with
# E2E_SAVE_VIEW=PATH, which writes the view to PATH in place of comparing it; E2E_SEEN_VIEW=PATH
# keeps a view that differs.
#
# Usage: editor_e2e_open_sample.sh EDITOR_EXECUTABLE   (runs itself under xvfb-run when needed)
set -euo pipefail
here=$(dirname "$(readlink -f "$0")")
. "$here/e2e_lib.sh"
e2e_begin "$(readlink -f "$0")" "$@"
cp -r "$here/../../samples/Karten" .
chmod -R u+w Karten
e2e_start_editor

editor_ended() { ! editor_running; }

open_map Wald
# The view's texts name the field and the map point under the pointer, and the field under it
# is framed: the pointer rests on view point (250, 250).
client 254 254
sleep 1

# The view at client (4, 4), below the menu bar. Our own screen library draws every pixel of it,
# but its three texts come from the system's font rasterizer ("Courier", 18 points, bold):
# those cells are left out, each the text's advance (14 pixels a letter on both systems) by the
# taller of the two systems' cells (35 pixels on Linux, 27 under Wine): "Feld (3;3)" at (5, 5)
# with its shadow at (4, 4), "Posi (192;192)" at (280, 5) and (279, 4), and player 1's
# number at (202, 203). Everything else is compared exactly.
view=$here/../data/e2e/wald_view.png
if [ -n "${E2E_SAVE_VIEW:-}" ]; then
    xwd -silent -id "$wid" | python3 "$here/view_picture.py" save "$E2E_SAVE_VIEW" 4 $((menu + 4)) 500 500
else
    xwd -silent -id "$wid" | python3 "$here/view_picture.py" compare "$view" 4 $((menu + 4)) \
        --text 4,4,141,36 --text 279,4,197,36 --text 202,203,14,35 ${E2E_SEEN_VIEW:+"$E2E_SEEN_VIEW"}
fi

# Brush 3 into field (2, 1); the map's corner lies at view (58, 58), like a new map's.
choose_brush 3
paint_field 2 1
xdotool key ctrl+s
sleep 1
xdotool key ctrl+q
within_ms editor_ended 5000 "the editor did not end after Strg+Q"
expect_exit_0

# Wald has 24 x 18 fields after its name, seven numbers and four players of three numbers;
# the fields go column by column.
sample=$here/../../samples/Karten/Wald.MAP
field=$((2 + 10 + 7 * 4 + 4 * 3 * 4 + (2 * 18 + 1) * 4))
expect_bytes Karten/Wald.MAP "
(lambda sample: sample[:$field] + struct.pack('<i', 3) + sample[$field + 4:])(
    open('$sample', 'rb').read())"
