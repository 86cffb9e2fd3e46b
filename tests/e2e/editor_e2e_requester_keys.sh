#!/usr/bin/env bash
# End to end, without a window manager: every shortcut acts at once after the save question.
# Paints six fields, then five times: Strg+Q, the question within a second, Escape (Abbrechen),
# Strg+Z and, half a second later, the next Strg+Q. The sixth question is answered with
# Speichern, and the editor's window is gone within a second; the MAP file shows that each Strg+Z undid
# one field.
#
# Without a window manager the activation need not come back to the editor when the requester
# closes: the X focus stays on the root window and keys go to the window under the pointer.
# Each round puts the focus there itself, so every Strg+Z and Strg+Q meets that case.
#
# Usage: editor_e2e_requester_keys.sh EDITOR_EXECUTABLE   (runs itself under xvfb-run when needed)
set -euo pipefail
E2E_NO_WM=1
. "$(dirname "$(readlink -f "$0")")/e2e_lib.sh"
e2e_begin "$(readlink -f "$0")" "$@"

root=$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')
requester_closed() { ! requester_open; }
editor_ended() { ! editor_running; }
# True once the main window is neither shown nor there.
window_gone() { ! xwininfo -id "$wid" 2>/dev/null | grep -q IsViewable; }

e2e_start_editor
choose_brush 3
for x in 0 1 2 3 4 5; do paint_field "$x" 0; done
client 250 250  # the pointer stays over the map view
for round in 1 2 3 4 5; do
    xdotool key ctrl+q
    within_ms requester_open 1000 "round $round: no question after Strg+Q"
    xdotool key Escape  # Abbrechen
    within_ms requester_closed 1000 "round $round: the question stayed after Escape"
    xdotool windowfocus "$root"
    sleep 0.5
    xdotool key ctrl+z
    sleep 0.5
done
xdotool key ctrl+q
within_ms requester_open 1000 "the last Strg+Q asked nothing"
xdotool key Return  # Speichern
within_ms window_gone 1000 "the editor's window stayed after Speichern"
# The process itself may take longer to end under the sanitizers: their leak check runs at exit.
within_ms editor_ended 15000 "the editor did not end after its window closed"
expect_exit_0
expect_bytes Karten/NONAME.MAP 'struct.pack("<h", 10) + b"Neue Karte"
+ struct.pack("<7i", 1, 8, 4, 64, 64, 5, 5) + struct.pack("<3i", 0, 0, 0)
+ struct.pack("<36i", *[3 if i == 0 else 0 for i in range(36)])'
