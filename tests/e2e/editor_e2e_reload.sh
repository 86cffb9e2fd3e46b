#!/usr/bin/env bash
# End to end: the tile set follows its file. Opens a map whose tile set is red with Strg+O, then
# replaces the PNG on disk (a new file renamed over it, as image editors save) by a blue one and
# a second time in place by a green one, and each time checks that the view shows the new
# picture within two seconds. The map is not changed by it: Strg+Q ends the editor at once.
#
# Usage: editor_e2e_reload.sh EDITOR_EXECUTABLE   (runs itself under xvfb-run when needed)
set -euo pipefail
. "$(dirname "$(readlink -f "$0")")/e2e_lib.sh"
e2e_begin "$(readlink -f "$0")" "$@"

# A PNG of 64 x 128 pixels of one colour (RGB hex) at $2.
write_png() {
    python3 - "$1" "$2" <<'PY'
import struct, sys, zlib
colour, path = bytes.fromhex(sys.argv[1]), sys.argv[2]
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
rows = b"".join(b"\0" + colour * 64 for _ in range(128))
png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 64, 128, 8, 2, 0, 0, 0))
       + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))
open(path, "wb").write(png)
PY
}

# The colour (RGB hex) the view shows at view position ($1, $2).
view_pixel() {
    xwd -silent -id "$wid" | python3 -c '
import struct, sys
data = sys.stdin.buffer.read()
h = struct.unpack(">25I", data[:100])
size, bpp, line, colours = h[0], h[11], h[12], h[19]
pixels = data[size + 12 * colours:]
x, y, step = 4 + int(sys.argv[1]), int(sys.argv[3]) + 4 + int(sys.argv[2]), bpp // 8
b, g, r = pixels[y * line + x * step:y * line + x * step + 3]
print("%02x%02x%02x" % (r, g, b))' "$1" "$2" "$menu"
}
shows() { [ "$(view_pixel 90 90)" = "$1" ]; }
shows_blue() { shows 0000ff; }
shows_green() { shows 00ff00; }

mkdir Karten
python3 - <<'PY'
import struct
fields = struct.pack("<36i", *[0] * 36)
open("Karten/Bunt.MAP", "wb").write(
    struct.pack("<h", 4) + b"Bunt" + struct.pack("<7i", 1, 8, 4, 64, 64, 5, 5)
    + struct.pack("<3i", 0, 0, 0) + fields)
PY
write_png ff0000 Karten/Bunt.PNG

e2e_start_editor
# Opening is not what is timed here (the suite also runs under strace).
open_map Bunt
within_ms "shows ff0000" 5000 "the opened map's red tile set is not shown"

write_png 0000ff Karten/.neu.png
start=$(now_ms)
mv Karten/.neu.png Karten/Bunt.PNG
within_ms shows_blue 2000 "the blue picture renamed over the tile set is not shown"
echo "the new picture showed after $(($(now_ms) - start)) ms"

write_png 00ff00 gruen.png
start=$(now_ms)
cp gruen.png Karten/Bunt.PNG  # the same file, its bytes written anew
within_ms shows_green 2000 "the green picture written over the tile set is not shown"
echo "the picture written in place showed after $(($(now_ms) - start)) ms"

xdotool key ctrl+q
expect_exit_0
