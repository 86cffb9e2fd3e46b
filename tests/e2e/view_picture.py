#!/usr/bin/env python3
"""The pixels of a rectangle of a window, taken from an XWD dump (`xwd -silent -id W`) on stdin.

  view_picture.py save OUT.png LEFT TOP WIDTH HEIGHT
      writes the rectangle as an 8-bit RGB PNG.
  view_picture.py compare EXPECTED.png LEFT TOP [--text X,Y,W,H ...] [ACTUAL.png]
      compares the rectangle of EXPECTED's size at (LEFT, TOP) with EXPECTED pixel for pixel,
      except inside the rectangles given with --text (in the picture's coordinates): the
      cells of texts that the system's font rasterizer draws, which differs between systems;
      it says how many pixels differ there. On a difference elsewhere prints how many pixels
      differ and where, writes what was seen to ACTUAL.png when given, and exits with 1.

Only zlib and struct: the scenarios run where nothing else is installed.
"""
import struct
import sys
import zlib


def read_xwd(data):
    """Returns (width, height, rows) with rows a list of lists of (r, g, b)."""
    header = struct.unpack(">25I", data[:100])
    header_size, width, height = header[0], header[4], header[5]
    byte_order, bits_per_pixel, line = header[7], header[11], header[12]
    masks, colours = header[14:17], header[19]
    if bits_per_pixel != 32:
        sys.exit("xwd: %d bits per pixel, only 32 are read" % bits_per_pixel)
    pixels = data[header_size + 12 * colours:]
    order = "<" if byte_order == 0 else ">"
    shifts = [(mask & -mask).bit_length() - 1 for mask in masks]
    rows = []
    for y in range(height):
        words = struct.unpack_from(order + "%dI" % width, pixels, y * line)
        rows.append([tuple((word & mask) >> shift for mask, shift in zip(masks, shifts))
                     for word in words])
    return width, height, rows


def crop(rows, left, top, width, height):
    if top + height > len(rows) or left + width > len(rows[0]):
        sys.exit("the window (%d x %d) does not hold %d x %d pixels at (%d, %d)"
                 % (len(rows[0]), len(rows), width, height, left, top))
    return [row[left:left + width] for row in rows[top:top + height]]


def write_png(path, rows):
    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body
                + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))
    raw = b"".join(b"\0" + bytes(channel for pixel in row for channel in pixel) for row in rows)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n"
                  + chunk(b"IHDR", struct.pack(">2I5B", len(rows[0]), len(rows), 8, 2, 0, 0, 0))
                  + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def read_png(path):
    """An 8-bit RGB or RGBA PNG without interlacing (what write_png and most tools write)."""
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        sys.exit("%s is not a PNG file" % path)
    at, idat = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">2I5B", body)
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    if depth != 8 or colour not in (2, 6) or interlace:
        sys.exit("%s: only 8-bit RGB or RGBA pictures without interlacing are read" % path)
    step = 3 if colour == 2 else 4
    raw, stride = zlib.decompress(idat), width * step
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - step] if i >= step else 0
            up, corner = previous[i], previous[i - step] if i >= step else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                guess = left + up - corner
                near = min((abs(guess - left), left), (abs(guess - up), up),
                           (abs(guess - corner), corner), key=lambda pair: pair[0])
                line[i] = (line[i] + near[1]) & 255
        rows.append([tuple(line[x * step:x * step + 3]) for x in range(width)])
        previous = line
    return rows


def main(argv):
    command, path, left, top = argv[1], argv[2], int(argv[3]), int(argv[4])
    _, _, window = read_xwd(sys.stdin.buffer.read())
    if command == "save":
        write_png(path, crop(window, left, top, int(argv[5]), int(argv[6])))
        return 0
    rest, cells = argv[5:], []
    while rest[:1] == ["--text"]:
        cells.append(tuple(int(number) for number in rest[1].split(",")))
        rest = rest[2:]
    in_text = lambda x, y: any(cx <= x < cx + cw and cy <= y < cy + ch for cx, cy, cw, ch in cells)
    expected = read_png(path)
    seen = crop(window, left, top, len(expected[0]), len(expected))
    differ = [(x, y) for y, (a, b) in enumerate(zip(seen, expected))
              for x, (p, q) in enumerate(zip(a, b)) if p != q]
    wrong = [(x, y) for x, y in differ if not in_text(x, y)]
    if not wrong:
        print("the %d x %d pixels at (%d, %d) are those of %s%s"
              % (len(expected[0]), len(expected), left, top, path,
                 "" if not cells else "; in the %d text cells (%d pixels) %d differ"
                 % (len(cells), sum(1 for y in range(len(seen)) for x in range(len(seen[0]))
                                    if in_text(x, y)), len(differ))))
        return 0
    xs, ys = [x for x, _ in wrong], [y for _, y in wrong]
    print("%d pixels differ from %s, within x %d..%d, y %d..%d; the first at (%d, %d): %s, not %s"
          % (len(wrong), path, min(xs), max(xs), min(ys), max(ys), wrong[0][0], wrong[0][1],
             seen[wrong[0][1]][wrong[0][0]], expected[wrong[0][1]][wrong[0][0]]))
    if rest:
        write_png(rest[0], seen)
        print("what was seen: %s" % rest[0])
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
