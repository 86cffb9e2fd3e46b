"""Reads and writes 8-bit PNG pictures as lists of RGBA tuples, with nothing but the standard
library: the judgement of the Tiled import and the making of its fixtures share it."""
import struct
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"


class Picture:
    def __init__(self, width, height, pixels):
        self.width = width
        self.height = height
        self.pixels = pixels  # row by row, (r, g, b, a)

    def at(self, x, y):
        return self.pixels[y * self.width + x]


def write_png(path, width, height, pixels, alpha=True):
    """pixels: row by row, (r, g, b, a) tuples; without alpha the fourth value is dropped."""
    size = 4 if alpha else 3
    rows = []
    for y in range(height):
        row = pixels[y * width:(y + 1) * width]
        rows.append(b"\x00" + bytes(c for px in row for c in px[:size]))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    header = struct.pack(">IIBBBBB", width, height, 8, 6 if alpha else 2, 0, 0, 0)
    with open(path, "wb") as f:
        f.write(SIGNATURE + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
                + chunk(b"IEND", b""))


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def read_png(path):
    """Reads a non-interlaced PNG of 8 bits per channel (grey, RGB, palette, with or without
    alpha) into a Picture."""
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(SIGNATURE):
        raise ValueError(f"{path}: not a PNG file")
    pos, idat, palette, trns = 8, b"", None, None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"tRNS":
            trns = body
        elif kind == b"IDAT":
            idat += body
    if depth != 8 or interlace:
        raise ValueError(f"{path}: only 8-bit, non-interlaced PNG files are read here")
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour]
    stride = width * channels
    raw = zlib.decompress(idat)
    previous = bytearray(stride)
    pixels = []
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            upleft = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                line[i] = (line[i] + _paeth(left, up, upleft)) & 255
        previous = line
        for x in range(width):
            p = line[x * channels:(x + 1) * channels]
            if colour == 0:
                pixels.append((p[0], p[0], p[0], 255))
            elif colour == 2:
                pixels.append((p[0], p[1], p[2], 255))
            elif colour == 3:
                alpha = trns[p[0]] if trns and p[0] < len(trns) else 255
                pixels.append(palette[p[0]] + (alpha,))
            elif colour == 4:
                pixels.append((p[0], p[0], p[0], p[1]))
            else:
                pixels.append(tuple(p))
    return Picture(width, height, pixels)
