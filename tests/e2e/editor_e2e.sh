#!/usr/bin/env bash
# End to end: the real editor in a real X server, driven with xdotool as a user would.
# Paints a field, changes a value, saves through the menu, closes the window the way its close
# box does, and checks the MAP file byte for byte and the exit code.
#
# Usage: editor_e2e.sh EDITOR_EXECUTABLE   (runs itself under xvfb-run when there is no display)
set -euo pipefail

editor=$(readlink -f "$1")
if [ -z "${E2E_INSIDE_X:-}" ]; then
    exec env E2E_INSIDE_X=1 xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$editor"
fi

work=$(mktemp -d)
trap 'kill "$wm" "$pid" 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"

openbox >/dev/null 2>&1 &
wm=$!
sleep 1

"$editor" >editor.log 2>&1 &
pid=$!

wid=""
for _ in $(seq 1 100); do
    wid=$(xdotool search --name "Veldrane Murmelwald Karteneditor" 2>/dev/null | head -n1 || true)
    [ -n "$wid" ] && break
    sleep 0.1
done
[ -n "$wid" ] || { echo "editor window did not appear"; cat editor.log; exit 1; }
sleep 1

# The top-level window holds the menu bar above the 760 x 560 client area.
eval "$(xdotool getwindowgeometry --shell "$wid")"
menu=$((HEIGHT - 560))
client() {  # client x, y -> move the pointer there
    xdotool mousemove --window "$wid" "$1" $(($2 + menu))
    sleep 0.2
}
click() {
    client "$1" "$2"
    xdotool click 1
    sleep 0.3
}

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
# Datei > Speichern: open the menu, walk to its third item, choose it.
xdotool mousemove --window "$wid" 20 $((menu / 2)) click 1
sleep 0.5
xdotool key Down Down Down Return
sleep 1
# Close the window as its close box does: the window manager asks it to close.
wmctrl -c "Veldrane Murmelwald Karteneditor"

status=0
for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
wait "$pid" || status=$?
[ "$status" -eq 0 ] || { echo "editor exited with $status"; cat editor.log; exit 1; }

python3 - <<'PY'
import struct, sys
expected = struct.pack("<h", 10) + b"Neue Karte"
expected += struct.pack("<7i", 1, 6, 4, 64, 64, 5, 5)
expected += struct.pack("<3i", 0, 0, 0)
fields = [0] * 36
fields[2 * 6 + 1] = 3  # column 2, row 1
expected += struct.pack("<36i", *fields)
actual = open("Karten/NONAME.MAP", "rb").read()
if actual != expected:
    print("MAP file differs:\n expected", expected.hex(), "\n actual  ", actual.hex())
    sys.exit(1)
print("MAP file is byte for byte as expected (%d bytes)" % len(actual))
PY
