#!/usr/bin/env python3
"""Writes the sample maps into samples/Karten: MAP files and their PNG tile sets.

A tile set is two rows of 64 x 64 tiles: row 0 the pictures, row 1 each tile's Z-mask
(black: floor, white: as high as a wall). Everything is generated, so the files can be made
again byte for byte.
"""
import math
import os
import random
import struct
import zlib

TILE = 64
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "samples", "Karten")


def write_png(path, width, height, pixels):
    """pixels: list of rows, each a list of (r, g, b)."""
    raw = b"".join(b"\x00" + bytes(c for px in row for c in px) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def noise(rng, base, spread):
    return tuple(max(0, min(255, c + rng.randint(-spread, spread))) for c in base)


def grass(rng, x, y):
    return noise(rng, (70, 140, 60), 18)


def path(rng, x, y):
    return noise(rng, (150, 115, 75), 14)


def water(rng, x, y):
    wave = int(20 * math.sin((x + 2 * y) / 6.0))
    return noise(rng, (40, 90 + wave, 180 + wave), 6)


def sand(rng, x, y):
    return noise(rng, (225, 200, 130), 10)


def stone(rng, x, y):
    light = 150 if ((x // 16) + (y // 16)) % 2 == 0 else 125
    edge = x % 16 == 0 or y % 16 == 0
    return noise(rng, (90, 90, 95) if edge else (light, light, light + 5), 6)


def wall(rng, x, y):
    row = y // 16
    shift = 16 if row % 2 else 0
    mortar = y % 16 == 0 or (x + shift) % 32 == 0
    return noise(rng, (200, 195, 185) if mortar else (160, 70, 50), 10)


def tree(rng, x, y):
    d = math.hypot(x - 31.5, y - 31.5)
    if d < 26:
        shade = int(40 * (1 - d / 26))
        return noise(rng, (30 + shade, 100 + shade, 35), 12)
    return grass(rng, x, y)


def rock(rng, x, y):
    d = math.hypot((x - 31.5) / 1.2, y - 33.5)
    if d < 20:
        return noise(rng, (120, 115, 110), 10)
    return grass(rng, x, y)


# (picture, z-mask height 0..255, where the mask is high)
TILES = [
    (grass, lambda x, y: 0),
    (path, lambda x, y: 0),
    (water, lambda x, y: 0),
    (sand, lambda x, y: 0),
    (stone, lambda x, y: 0),
    (wall, lambda x, y: 255),
    (tree, lambda x, y: 255 if math.hypot(x - 31.5, y - 31.5) < 26 else 0),
    (rock, lambda x, y: 160 if math.hypot((x - 31.5) / 1.2, y - 33.5) < 20 else 0),
]


def tile_set(path_png):
    rng = random.Random(7)
    width = TILE * len(TILES)
    rows = [[None] * width for _ in range(2 * TILE)]
    for index, (picture, height) in enumerate(TILES):
        for y in range(TILE):
            for x in range(TILE):
                rows[y][index * TILE + x] = picture(rng, x, y)
                h = height(x, y)
                rows[TILE + y][index * TILE + x] = (h, h, h)
    write_png(path_png, width, 2 * TILE, rows)


def write_map(path_map, name, players, grid, slots=8, balls=4):
    last_x = len(grid[0]) - 1
    last_y = len(grid) - 1
    data = struct.pack("<h", len(name)) + name
    data += struct.pack("<7i", len(players), slots, balls, TILE, TILE, last_x, last_y)
    for px, py, direction in players:
        data += struct.pack("<3i", px, py, direction)
    for x in range(last_x + 1):
        for y in range(last_y + 1):
            data += struct.pack("<i", grid[y][x])
    with open(path_map, "wb") as f:
        f.write(data)


def forest():
    """A clearing in a wood, a stream across it, stone paths and a walled corner."""
    w, h = 24, 18
    rng = random.Random(3)
    grid = [[0] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            if x in (0, w - 1) or y in (0, h - 1):
                grid[y][x] = 6
            elif rng.random() < 0.12:
                grid[y][x] = 6
            elif rng.random() < 0.04:
                grid[y][x] = 7
    for x in range(1, w - 1):  # the stream
        y = 9 + int(round(2 * math.sin(x / 3.0)))
        grid[y][x] = 2
        grid[y + 1][x] = 2
        grid[y - 1][x] = 3 if grid[y - 1][x] == 0 else grid[y - 1][x]
    for y in range(1, h - 1):  # a path across, with a ford of stones
        grid[y][11] = 4 if grid[y][11] == 2 else 1
    for x in range(1, w - 1):
        if grid[4][x] != 2:
            grid[4][x] = 1
    for x in range(17, 22):  # walled corner
        grid[13][x] = 5
    for y in range(13, 17):
        grid[y][17] = 5
    for y in range(14, 17):
        for x in range(18, 23):
            grid[y][x] = 4
    players = [(160, 160, 45), (1370, 160, 135), (160, 930, 315), (1250, 970, 360)]
    return grid, players


def island():
    """A sandy island in open water."""
    w, h = 16, 12
    grid = [[2] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            d = math.hypot((x - 7.5) / 6.5, (y - 5.5) / 4.5)
            if d < 0.75:
                grid[y][x] = 0
            elif d < 1.0:
                grid[y][x] = 3
    grid[5][7] = 6
    grid[6][8] = 7
    players = [(320, 380, 0), (700, 380, 180)]
    return grid, players


def smooth_noise(rng, w, h, cell):
    """Value noise in 0..1: random values on a coarse grid, interpolated smoothly."""
    gw, gh = w // cell + 2, h // cell + 2
    grid = [[rng.random() for _ in range(gw)] for _ in range(gh)]

    def at(x, y):
        gx, gy = x / cell, y / cell
        ix, iy = int(gx), int(gy)
        fx, fy = gx - ix, gy - iy
        fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
        top = grid[iy][ix] * (1 - fx) + grid[iy][ix + 1] * fx
        bottom = grid[iy + 1][ix] * (1 - fx) + grid[iy + 1][ix + 1] * fx
        return top * (1 - fy) + bottom * fy

    return at


def archipelago():
    """A big map: islands with beaches, woods and rocks in open water, paths across them, a
    walled fort on the largest. 120 x 120 fields, so that the whole of it shows at 1:16."""
    w = h = 120
    rng = random.Random(11)
    land = smooth_noise(rng, w, h, 12)
    detail = smooth_noise(rng, w, h, 4)
    grid = [[2] * w for _ in range(h)]
    for y in range(h):
        for x in range(w):
            edge = min(x, y, w - 1 - x, h - 1 - y) / 12.0
            height = 0.75 * land(x, y) + 0.25 * detail(x, y) - max(0.0, 0.35 - edge * 0.35)
            if height > 0.62:
                grid[y][x] = 6 if detail(x, y) > 0.55 else (7 if rng.random() < 0.05 else 0)
            elif height > 0.55:
                grid[y][x] = 0
            elif height > 0.5:
                grid[y][x] = 3
    for y in range(h):  # a path north to south and one west to east, fords of stone
        x = 60 + int(round(6 * math.sin(y / 9.0)))
        grid[y][x] = 4 if grid[y][x] == 2 else 1
    for x in range(w):
        y = 45 + int(round(5 * math.sin(x / 11.0)))
        grid[y][x] = 4 if grid[y][x] == 2 else 1
    for x in range(70, 82):  # the fort
        for y in (70, 81):
            grid[y][x] = 5
    for y in range(70, 82):
        for x in (70, 81):
            grid[y][x] = 5 if y != 75 else 1
    for y in range(71, 81):
        for x in range(71, 81):
            grid[y][x] = 4
    players = [(TILE * x + 32, TILE * y + 32, (i * 45) % 360)
               for i, (x, y) in enumerate([(20, 20), (100, 20), (20, 100), (100, 100),
                                           (60, 10), (10, 60), (110, 60), (75, 75)])]
    return grid, players


def main():
    os.makedirs(OUT, exist_ok=True)
    grid, players = forest()
    tile_set(os.path.join(OUT, "Wald.PNG"))
    write_map(os.path.join(OUT, "Wald.MAP"), "Murmelwald".encode("cp1252"), players, grid)
    grid, players = island()
    tile_set(os.path.join(OUT, "Insel.PNG"))
    write_map(os.path.join(OUT, "Insel.MAP"), "Kleine Insel im Süden".encode("cp1252"), players,
              grid, slots=6, balls=3)
    grid, players = archipelago()
    tile_set(os.path.join(OUT, "Archipel.PNG"))
    write_map(os.path.join(OUT, "Archipel.MAP"), "Großes Archipel".encode("cp1252"), players,
              grid)


if __name__ == "__main__":
    main()
