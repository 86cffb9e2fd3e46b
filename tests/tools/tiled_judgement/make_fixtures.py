#!/usr/bin/env python3
"""Writes the Tiled maps that judge `maptool import` into tests/data/tiled-judge: small maps,
each showing one way Tiled maps are made (tileset layouts, colour keys, image collections,
layers with opacity, groups, hidden layers, flips, empty cells, Z-masks, players, data
encodings, infinite maps), a few combining them, and maps that must be refused.

Everything is generated (the zstd layers with Debian's zstd program), so the files can be made
again byte for byte: python3 tests/tools/tiled_judgement/make_fixtures.py
"""
import base64
import gzip
import json
import os
import struct
import subprocess
import zlib

from pngio import write_png

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.normpath(os.path.join(HERE, "..", "..", "data", "tiled-judge"))

FLIP_H, FLIP_V, FLIP_D = 0x80000000, 0x40000000, 0x20000000
GAP = (0, 255, 255, 255)  # margins and spacing: shows wherever a tile is cut from the wrong place


def tile_pixel(seed, x, y, holes):
    """A pattern that differs under every flip and rotation; with holes, the top-left pixel is
    clear and the next one half covered, so the layers below show through."""
    r = (seed * 53 + x * 40 + 30) % 256
    g = (seed * 97 + y * 60 + 10) % 256
    b = (seed * 31 + (x + 1) * (y + 2) * 17) % 256
    alpha = 255
    if holes and (x, y) == (0, 0):
        alpha = 0
    elif holes and (x, y) == (1, 0):
        alpha = 128
    return (r, g, b, alpha)


def sheet(name, tw, th, columns, rows, seed, margin=0, spacing=0, holes=False, key=None):
    """A tileset image; with key, every tile's bottom-right pixel is that colour."""
    width = 2 * margin + columns * tw + (columns - 1) * spacing
    height = 2 * margin + rows * th + (rows - 1) * spacing
    pixels = [GAP] * (width * height)
    for row in range(rows):
        for col in range(columns):
            left = margin + col * (tw + spacing)
            top = margin + row * (th + spacing)
            for y in range(th):
                for x in range(tw):
                    px = tile_pixel(seed + row * columns + col, x, y, holes)
                    if key and (x, y) == (tw - 1, th - 1):
                        px = key + (255,)
                    pixels[(top + y) * width + left + x] = px
    write_png(os.path.join(OUT, name), width, height, pixels)
    return width, height


def write_bmp(name, width, height, pixels):
    """A 24-bit bottom-up BMP of opaque pixels."""
    stride = (width * 3 + 3) & ~3
    body = b""
    for y in reversed(range(height)):
        row = b"".join(bytes((p[2], p[1], p[0])) for p in pixels[y * width:(y + 1) * width])
        body += row + b"\0" * (stride - len(row))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(body), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(body), 2835, 2835, 0, 0)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(header + info + body)


def image_tileset(firstgid, name, image, tw, th, columns, count, margin=0, spacing=0, key=None,
                  size=None):
    w, h = size
    extra = f' margin="{margin}" spacing="{spacing}"' if margin or spacing else ""
    trans = f' trans="{key}"' if key else ""
    return (f' <tileset firstgid="{firstgid}" name="{name}" tilewidth="{tw}" tileheight="{th}"'
            f' tilecount="{count}" columns="{columns}"{extra}>\n'
            f'  <image source="{image}"{trans} width="{w}" height="{h}"/>\n </tileset>\n')


def collection_tileset(firstgid, name, tw, th, images):
    tiles = "".join(f'  <tile id="{i}">\n   <image width="{tw}" height="{th}" source="{img}"/>\n'
                    f'  </tile>\n' for i, img in enumerate(images))
    return (f' <tileset firstgid="{firstgid}" name="{name}" tilewidth="{tw}" tileheight="{th}"'
            f' tilecount="{len(images)}" columns="0">\n'
            f'  <grid orientation="orthogonal" width="1" height="1"/>\n{tiles} </tileset>\n')


def encode(cells, encoding):
    """The <data> element of a layer in one of Tiled's encodings."""
    if encoding == "csv":
        return '<data encoding="csv">' + ",".join(str(c) for c in cells) + "</data>"
    raw = b"".join(struct.pack("<I", c) for c in cells)
    compression = ""
    if encoding == "zlib":
        raw = zlib.compress(raw)
    elif encoding == "gzip":
        raw = gzip.compress(raw, mtime=0)
    elif encoding == "zstd":
        raw = subprocess.run(["zstd", "-q", "-c", "-19"], input=raw, capture_output=True,
                             check=True).stdout
    if encoding != "base64":
        compression = f' compression="{encoding}"'
    return f'<data encoding="base64"{compression}>' + base64.b64encode(raw).decode() + "</data>"


def layer(name, width, height, cells, encoding="csv", attrs=""):
    return (f' <layer name="{name}" width="{width}" height="{height}"{attrs}>\n'
            f'  {encode(cells, encoding)}\n </layer>\n')


def objects(name, points):
    """An object layer of points, each with the property "Richtung" as our export writes it."""
    body = "".join(f'  <object id="{i + 1}" x="{x}" y="{y}"><properties><property name="Richtung"'
                   f' type="int" value="{d}"/></properties><point/></object>\n'
                   for i, (x, y, d) in enumerate(points))
    return f' <objectgroup name="{name}">\n{body} </objectgroup>\n'


def tmx(name, width, height, tw, th, body, attrs="", orientation="orthogonal"):
    text = ('<?xml version="1.0" encoding="UTF-8"?>\n'
            f'<map version="1.8" tiledversion="1.8.2" orientation="{orientation}"'
            f' renderorder="right-down" width="{width}" height="{height}" tilewidth="{tw}"'
            f' tileheight="{th}" infinite="0"{attrs}>\n{body}</map>\n')
    with open(os.path.join(OUT, name), "w", encoding="utf-8") as f:
        f.write(text)


def grid(width, height, fn):
    return [fn(x, y) for y in range(height) for x in range(width)]


def make_sheets():
    """The shared tileset images: fields of 4 x 3 pixels, except where named."""
    sizes = {}
    sizes["plain.png"] = sheet("plain.png", 4, 3, 4, 1, 1)
    sizes["spaced.png"] = sheet("spaced.png", 4, 3, 3, 3, 20, margin=1, spacing=2)
    sizes["gapped.png"] = sheet("gapped.png", 4, 3, 2, 2, 40, margin=0, spacing=1, holes=True)
    sizes["keyed.png"] = sheet("keyed.png", 4, 3, 3, 2, 60, key=(255, 0, 255))
    sizes["holes.png"] = sheet("holes.png", 4, 3, 4, 2, 80, holes=True)
    sizes["square.png"] = sheet("square.png", 4, 4, 2, 1, 100)
    for i in range(3):
        sheet(f"single{i}.png", 4, 3, 1, 1, 120 + i, holes=i == 1)
    pixels = [tile_pixel(140 + x // 4, x % 4, y, False) for y in range(3) for x in range(8)]
    write_bmp("bmp.bmp", 8, 3, pixels)
    return sizes


def make_maps(sizes):
    def ts(firstgid, image, columns, count, **kw):
        return image_tileset(firstgid, image[:-4], image, kw.pop("tw", 4), kw.pop("th", 3), columns,
                             count, size=sizes[image], **kw)

    # Several tilesets with columns, margin and spacing; tiles from every row.
    cells = grid(6, 4, lambda x, y: 1 + (x + y * 6) % 17)
    tmx("tilesets.tmx", 6, 4, 4, 3, ts(1, "plain.png", 4, 4)
        + ts(5, "spaced.png", 3, 9, margin=1, spacing=2) + ts(14, "gapped.png", 2, 4, spacing=1)
        + layer("Boden", 6, 4, cells))
    # A colour key: its pixels are clear, the grey or the layer below shows through.
    tmx("colour_key.tmx", 3, 2, 4, 3, ts(1, "plain.png", 4, 4)
        + ts(5, "keyed.png", 3, 6, key="ff00ff") + layer("Unten", 3, 2, grid(3, 2, lambda x, y: 1 + x))
        + layer("Oben", 3, 2, grid(3, 2, lambda x, y: 5 + x + 3 * y if x + y else 0)))
    # An image collection beside an image tileset.
    tmx("collection.tmx", 4, 2, 4, 3, ts(1, "plain.png", 4, 4)
        + collection_tileset(5, "einzeln", 4, 3, ["single0.png", "single1.png", "single2.png"])
        + layer("Boden", 4, 2, grid(4, 2, lambda x, y: [1, 5, 6, 7, 2, 7, 6, 5][x + 4 * y])))
    # Two and three layers with opacity over tiles with holes.
    three = (ts(1, "plain.png", 4, 4) + ts(5, "holes.png", 4, 8)
             + layer("Boden", 4, 3, grid(4, 3, lambda x, y: 1 + (x + y) % 4))
             + layer("Mitte", 4, 3, grid(4, 3, lambda x, y: 5 + (x * 3 + y) % 8), "csv",
                     ' opacity="0.5"')
             + layer("Oben", 4, 3, grid(4, 3, lambda x, y: 5 + (x + y * 2) % 8 if x != 1 else 0),
                     "csv", ' opacity="0.3"'))
    tmx("three_layers.tmx", 4, 3, 4, 3, three)
    tmx("two_layers.tmx", 4, 3, 4, 3, ts(1, "plain.png", 4, 4) + ts(5, "holes.png", 4, 8)
        + layer("Boden", 4, 3, grid(4, 3, lambda x, y: 1 + x % 4))
        + layer("Oben", 4, 3, grid(4, 3, lambda x, y: 5 + (x + y) % 8), "csv", ' opacity="0.75"'))
    # Tint colours on a layer and on a group (with alpha), the layer's inside the group's.
    tmx("tint.tmx", 4, 3, 4, 3, ts(1, "plain.png", 4, 4) + ts(5, "holes.png", 4, 8)
        + layer("Boden", 4, 3, grid(4, 3, lambda x, y: 1 + (x + y) % 4), "csv",
                ' tintcolor="#c08040"')
        + ' <group name="Getönt" tintcolor="#8040a0ff">\n'
        + layer("Innen", 4, 3, grid(4, 3, lambda x, y: 5 + (x * 3 + y) % 8 if y != 1 else 0),
                "csv", ' tintcolor="#ffff00" opacity="0.8"')
        + layer("Klar", 4, 3, grid(4, 3, lambda x, y: 9 + x if y == 1 else 0))
        + ' </group>\n')
    # A group with opacity, a hidden layer and a hidden group: what Tiled does not draw stays out.
    tmx("groups_hidden.tmx", 4, 3, 4, 3, ts(1, "plain.png", 4, 4) + ts(5, "holes.png", 4, 8)
        + layer("Boden", 4, 3, grid(4, 3, lambda x, y: 1 + (x * y) % 4))
        + layer("Versteckt", 4, 3, grid(4, 3, lambda x, y: 2), "csv", ' visible="0"')
        + ' <group name="Gruppe" opacity="0.6">\n'
        + layer("Innen", 4, 3, grid(4, 3, lambda x, y: 5 + (x + 2 * y) % 8), "csv", ' opacity="0.5"')
        + layer("Innen 2", 4, 3, grid(4, 3, lambda x, y: 6 + y % 7 if x % 2 else 0))
        + ' </group>\n <group name="Aus" visible="0">\n'
        + layer("Darin", 4, 3, grid(4, 3, lambda x, y: 3)) + ' </group>\n')
    # All eight flip and rotation combinations, on non-square tiles and on square ones.
    flips = [f for f in range(8)]
    bits = lambda f: (FLIP_H if f & 1 else 0) | (FLIP_V if f & 2 else 0) | (FLIP_D if f & 4 else 0)
    tmx("flips.tmx", 8, 3, 4, 3, ts(1, "plain.png", 4, 4) + ts(5, "holes.png", 4, 8)
        + layer("Boden", 8, 3, grid(8, 3, lambda x, y: 1 + (x + y) % 4))
        + layer("Gedreht", 8, 3, grid(8, 3, lambda x, y: (6 + y) | bits(flips[x]) if y != 1 else 0)))
    tmx("flips_square.tmx", 8, 2, 4, 4, ts(1, "square.png", 2, 2, th=4)
        + layer("Gedreht", 8, 2, grid(8, 2, lambda x, y: (1 + y) | bits(flips[x]))))
    # Empty cells without and with a background colour, and a map with no tile at all.
    holes = grid(5, 3, lambda x, y: 0 if (x + y) % 3 == 0 else 5 + x)
    tmx("empty_grey.tmx", 5, 3, 4, 3, ts(1, "plain.png", 4, 4) + ts(5, "holes.png", 4, 8)
        + layer("Boden", 5, 3, holes))
    tmx("empty_background.tmx", 5, 3, 4, 3, ts(1, "plain.png", 4, 4) + ts(5, "holes.png", 4, 8)
        + layer("Boden", 5, 3, holes) + layer("Leer", 5, 3, [0] * 15),
        ' backgroundcolor="#2a6b3c"')
    tmx("all_empty.tmx", 3, 2, 4, 3, ts(1, "plain.png", 4, 4) + layer("Leer", 3, 2, [0] * 6))
    # Z-masks from a layer "z-maske" (any case), drawn like row 0 and not into it.
    tmx("zmask.tmx", 4, 2, 4, 3, ts(1, "plain.png", 4, 4) + ts(5, "holes.png", 4, 8)
        + layer("Boden", 4, 2, grid(4, 2, lambda x, y: 1 + x))
        + layer("z-maske", 4, 2, grid(4, 2, lambda x, y: 5 + (x + y) % 8 if x != 2 else 0))
        + layer("Oben", 4, 2, grid(4, 2, lambda x, y: 9 + x if y else 0), "csv", ' opacity="0.5"'))
    # Players: the object layer "Spieler" as our export writes it, another object layer, an
    # image layer; and the same map without players.
    base = (ts(1, "plain.png", 4, 4) + layer("Boden", 4, 2, grid(4, 2, lambda x, y: 1 + (x + y) % 4)))
    tmx("players.tmx", 4, 2, 4, 3, base + objects("Spieler", [(2, 1, 90), (13, 4, 360)])
        + objects("Schatz", [(5, 5, 0)])
        + ' <imagelayer name="Bild"><image source="plain.png" width="16" height="3"/></imagelayer>\n')
    tmx("no_players.tmx", 4, 2, 4, 3, base + objects("Deko", [(1, 1, 0)]))
    # Every data encoding, in TMX and in TMJ.
    cells = grid(5, 4, lambda x, y: 1 + (x * 7 + y * 3) % 13)
    sets = ts(1, "plain.png", 4, 4) + ts(5, "spaced.png", 3, 9, margin=1, spacing=2)
    for encoding in ("csv", "base64", "zlib", "gzip", "zstd"):
        tmx(f"data_{encoding}.tmx", 5, 4, 4, 3, sets + layer("Boden", 5, 4, cells, encoding))
    tmj("data_csv.tmj", 5, 4, [("Boden", cells, "csv")], sizes)
    tmj("data_zstd.tmj", 5, 4, [("Boden", cells, "zstd"), ("Oben", [c if c % 3 else 0 for c in cells],
                                                            "zlib")], sizes)
    # Older files: a DOCTYPE line, and JSON properties as an object.
    with open(os.path.join(OUT, "data_csv.tmx"), encoding="utf-8") as f:
        text = f.read()
    with open(os.path.join(OUT, "doctype.tmx"), "w", encoding="utf-8") as f:
        f.write(text.replace("\n", '\n<!DOCTYPE map SYSTEM "http://mapeditor.org/dtd/1.0/map.dtd">\n', 1))
    # A BMP tileset: the written tile set is a PNG all the same.
    tmx("bmp_tileset.tmx", 4, 2, 4, 3, image_tileset(1, "bmp", "bmp.bmp", 4, 3, 2, 2, size=(8, 3))
        + layer("Boden", 4, 2, grid(4, 2, lambda x, y: 1 + (x + y) % 2)))
    # An infinite map whose chunks lie within 1000 x 1000 fields.
    chunk = lambda cx, cy, fn: (f'   <chunk x="{cx}" y="{cy}" width="16" height="16">'
                                + encode(grid(16, 16, fn), "csv")[len('<data encoding="csv">'):-7]
                                + '</chunk>\n')
    # The second one's chunks lie left of and above the origin, and leave a chunk empty.
    for name, at in (("infinite.tmx", 0), ("infinite_negative.tmx", -32)):
        with open(os.path.join(OUT, name), "w", encoding="utf-8") as f:
            f.write('<?xml version="1.0" encoding="UTF-8"?>\n<map version="1.8"'
                    ' orientation="orthogonal" renderorder="right-down" width="32" height="32"'
                    ' tilewidth="4" tileheight="3" infinite="1">\n' + ts(1, "plain.png", 4, 4)
                    + ' <layer name="Boden" width="32" height="32">\n  <data encoding="csv">\n'
                    + chunk(at, at, lambda x, y: 1 + (x + y) % 4)
                    + chunk(at + 16, at + 16, lambda x, y: 1 + x % 2)
                    + '  </data>\n </layer>\n</map>\n')
    # Everything at once: tilesets of every kind, a group, flips, empty cells on a background
    # colour, zstd data, Z-masks, players and what does not come along.
    tmx("combined.tmx", 8, 5, 4, 3, ts(1, "plain.png", 4, 4)
        + ts(5, "spaced.png", 3, 9, margin=1, spacing=2) + ts(14, "keyed.png", 3, 6, key="ff00ff")
        + ts(20, "holes.png", 4, 8)
        + collection_tileset(28, "einzeln", 4, 3, ["single0.png", "single1.png", "single2.png"])
        + layer("Boden", 8, 5, grid(8, 5, lambda x, y: 0 if (x, y) in ((0, 0), (7, 4)) else
                                     1 + (x * 5 + y * 3) % 13), "zstd")
        + ' <group name="Gruppe" opacity="0.7">\n'
        + layer("Deko", 8, 5, grid(8, 5, lambda x, y: (14 + (x + y) % 6) | bits((x + y) % 8)
                                   if x % 3 else 0), "zlib")
        + layer("Blasen", 8, 5, grid(8, 5, lambda x, y: 20 + (x * y) % 8 if y % 2 else 28 + x % 3),
                "base64", ' opacity="0.4"')
        + ' </group>\n'
        + layer("Versteckt", 8, 5, grid(8, 5, lambda x, y: 3), "csv", ' visible="0"')
        + layer("Z-MASKE", 8, 5, grid(8, 5, lambda x, y: 20 + (x + 2 * y) % 8 if x != 4 else 0))
        + objects("Spieler", [(4, 3, 45), (28, 12, 180), (10, 10, 360)])
        + objects("Schatz", [(5, 5, 0)]),
        ' backgroundcolor="#503020"')
    make_refusals(ts, sizes)


def tmj(name, width, height, layers, sizes):
    """The same kind of map as JSON, with properties as an object, as Tiled before 1.2 wrote."""
    def data(cells, encoding):
        if encoding == "csv":
            return {"data": cells}
        text = encode(cells, encoding)
        compression = "" if encoding == "base64" else encoding
        return {"data": text[text.index(">") + 1:-7], "encoding": "base64",
                "compression": compression}

    tilesets = [
        {"firstgid": 1, "name": "plain", "image": "plain.png", "imagewidth": sizes["plain.png"][0],
         "imageheight": sizes["plain.png"][1], "tilewidth": 4, "tileheight": 3, "tilecount": 4,
         "columns": 4, "margin": 0, "spacing": 0},
        {"firstgid": 5, "name": "spaced", "image": "spaced.png",
         "imagewidth": sizes["spaced.png"][0], "imageheight": sizes["spaced.png"][1],
         "tilewidth": 4, "tileheight": 3, "tilecount": 9, "columns": 3, "margin": 1, "spacing": 2},
    ]
    doc = {"type": "map", "version": 1.1, "orientation": "orthogonal", "renderorder": "right-down",
           "width": width, "height": height, "tilewidth": 4, "tileheight": 3, "infinite": False,
           "properties": {"Herkunft": "alt"}, "tilesets": tilesets,
           "layers": [dict({"type": "tilelayer", "name": n, "width": width, "height": height,
                            "x": 0, "y": 0, "opacity": 1 if i == 0 else 0.5, "visible": True},
                           **data(cells, enc)) for i, (n, cells, enc) in enumerate(layers)]}
    with open(os.path.join(OUT, name), "w", encoding="utf-8") as f:
        json.dump(doc, f, indent=1)
        f.write("\n")


def make_refusals(ts, sizes):
    one = ts(1, "plain.png", 4, 4)
    tmx("refuse_isometric.tmx", 3, 3, 4, 3, one + layer("Boden", 3, 3, [1] * 9),
        orientation="isometric")
    tmx("refuse_hexagonal.tmx", 3, 3, 4, 3, one + layer("Boden", 3, 3, [1] * 9),
        ' hexsidelength="2" staggeraxis="y" staggerindex="odd"', orientation="hexagonal")
    tmx("refuse_too_large.tmx", 1001, 1, 4, 3, one + layer("Boden", 1001, 1, [1] * 1001))
    tmx("refuse_offset.tmx", 3, 2, 4, 3, one + layer("Boden", 3, 2, [1] * 6)
        + layer("Versetzt", 3, 2, [2] * 6, "csv", ' offsetx="2" offsety="0"'))
    tmx("refuse_parallax.tmx", 3, 2, 4, 3, one + layer("Boden", 3, 2, [1] * 6)
        + layer("Ferne", 3, 2, [2] * 6, "csv", ' parallaxx="0.5"'))
    with open(os.path.join(OUT, "refuse_infinite.tmx"), "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n<map version="1.8" orientation="orthogonal"'
                ' renderorder="right-down" width="16" height="16" tilewidth="4" tileheight="3"'
                ' infinite="1">\n' + one + ' <layer name="Boden" width="16" height="16">\n'
                '  <data encoding="csv">\n   <chunk x="0" y="0" width="16" height="16">'
                + ",".join(["1"] * 256) + '</chunk>\n   <chunk x="992" y="992" width="16" height="16">'
                + ",".join(["2"] * 256) + '</chunk>\n  </data>\n </layer>\n</map>\n')
    # Reasons of two kinds: each is listed.
    tmx("refuse_two_reasons.tmx", 3, 2, 4, 3, one + layer("Boden", 3, 2, [1] * 6)
        + layer("Versetzt", 3, 2, [2] * 6, "csv", ' offsetx="2"')
        + layer("Ferne", 3, 2, [2] * 6, "csv", ' parallaxy="2"'))
    # Two reasons at once: an isometric map is refused as such first, whatever else it has.
    tmx("refuse_isometric_offset.tmx", 3, 2, 4, 3, one + layer("Boden", 3, 2, [1] * 6)
        + layer("Versetzt", 3, 2, [2] * 6, "csv", ' offsetx="1"'), orientation="isometric")


def main():
    if os.path.isdir(OUT):
        for entry in os.listdir(OUT):
            if entry not in ("cases.txt", "README.md"):
                os.remove(os.path.join(OUT, entry))
    os.makedirs(OUT, exist_ok=True)
    make_maps(make_sheets())


if __name__ == "__main__":
    main()
