"""Reads and writes 8-bit PNG pictures as lists of RGBA tuples, with nothing but the standard
library: the judgement of the Tiled import and the making of its fixtures share it."""
import struct
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"


class Picture:
    def __init__(self, width, height, rgba):
        self.width = width
        self.height = height
        self.rgba = rgba  # bytes, row by row, r g b a each

    def at(self, x, y):
        i = 4 * (y * self.width + x)
        return tuple(self.rgba[i:i + 4])

    def row(self, y):
        return self.rgba[4 * y * self.width:4 * (y + 1) * self.width]


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


def _add_bytes(x, y, low, high):
    """Adds the bytes of two equally long numbers lane by lane, modulo 256 (no carries)."""
    return ((x & low) + (y & low)) ^ ((x ^ y) & high)


def _unfilter(kind, line, previous, channels):
    """The row of bytes that a filtered row stands for. None, Sub and Up are added a whole
    row at a time as large numbers; Average and Paeth go byte by byte."""
    size = len(line)
    if kind == 0:
        return line
    low = int.from_bytes(b"\x7f" * size, "big")
    high = int.from_bytes(b"\x80" * size, "big")
    if kind == 2:
        total = _add_bytes(int.from_bytes(line, "big"), int.from_bytes(previous, "big"), low, high)
        return total.to_bytes(size, "big")
    if kind == 1:  # every byte plus all the bytes 1, 2, 3... pixels left of it: prefix sums
        total, shift = int.from_bytes(line, "big"), channels * 8
        while shift < size * 8:
            total = _add_bytes(total, total >> shift, low, high)
            shift *= 2
        return total.to_bytes(size, "big")
    out = bytearray(line)
    for i in range(size):
        left = out[i - channels] if i >= channels else 0
        if kind == 3:
            out[i] = (out[i] + (left + previous[i]) // 2) & 255
        else:
            upleft = previous[i - channels] if i >= channels else 0
            out[i] = (out[i] + _paeth(left, previous[i], upleft)) & 255
    return bytes(out)


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
    previous = bytes(stride)
    rows = []
    for y in range(height):
        start = y * (stride + 1)
        previous = _unfilter(raw[start], raw[start + 1:start + 1 + stride], previous, channels)
        rows.append(previous)
    data = b"".join(rows)
    count = width * height
    rgba = bytearray(4 * count)
    if colour == 3:  # through the palette, pixel by pixel
        table = [bytes(palette[i] + (trns[i] if trns and i < len(trns) else 255,))
                 for i in range(len(palette))]
        return Picture(width, height, b"".join(table[i] for i in data))
    for c in range(3):  # each channel at once, as slices of byte strings
        rgba[c::4] = data[(c if colour in (2, 6) else 0)::channels]
    rgba[3::4] = data[channels - 1::channels] if colour in (4, 6) else b"\xff" * count
    return Picture(width, height, bytes(rgba))
