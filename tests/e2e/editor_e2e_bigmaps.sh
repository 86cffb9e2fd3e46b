#!/usr/bin/env bash
# End to end on a bigger map: a stroke of the left button across several fields, Strg + wheel
# out and back in about the mouse, a save through the menu; then the MAP file byte for byte,
# and the view at 1:1 the same before and after the zoom.
#
# Usage: editor_e2e_bigmaps.sh EDITOR_EXECUTABLE   (runs itself under xvfb-run when needed)
set -euo pipefail
. "$(dirname "$(readlink -f "$0")")/e2e_lib.sh"
e2e_begin "$(readlink -f "$0")" "$@"
e2e_start_editor

# 21 x 21 fields of 64 pixels: 1344 pixels, more than the view shows at 1:1.
click 700 90
xdotool key ctrl+a
xdotool type --delay 100 20
click 700 110
xdotool key ctrl+a
xdotool type --delay 100 20
sleep 0.3
# Brush 3.
click 530 496
for _ in 1 2 3; do xdotool key Right; sleep 0.1; done
# A stroke in two fast moves: along field row 1 from column 0 to 4, then down to row 3. The
# map's corner lies at view (58, 58), the view at client (4, 4).
stroke $((4 + 58 + 10)) $((4 + 58 + 64 + 10)) $((4 + 58 + 4 * 64 + 10)) $((4 + 58 + 64 + 10)) \
    $((4 + 58 + 4 * 64 + 10)) $((4 + 58 + 3 * 64 + 10))

client 222 180
before=$(view_digest)
wheel ctrl -1
zoomed=$(view_digest)
wheel ctrl 1
after=$(view_digest)
[ "$zoomed" != "$before" ] || { echo "Strg + wheel did not zoom the view out"; exit 1; }
[ "$after" = "$before" ] || { echo "the view at 1:1 differs after zooming out and back in"; exit 1; }
echo "the view at 1:1 is the same after zooming out and back in"

menu_datei 3
wmctrl -c "Veldrane Murmelwald Karteneditor"
expect_exit_0

painted="[(0, 1), (1, 1), (2, 1), (3, 1), (4, 1), (4, 2), (4, 3)]"
expect_bytes Karten/NONAME.MAP '
struct.pack("<h", 10) + b"Neue Karte"
+ struct.pack("<7i", 1, 8, 4, 64, 64, 20, 20)
+ struct.pack("<3i", 0, 0, 0)
+ struct.pack("<441i", *[3 if (x, y) in '"$painted"' else 0
                         for x in range(21) for y in range(21)])'
