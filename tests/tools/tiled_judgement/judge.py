#!/usr/bin/env python3
"""Tiled judges `maptool import`: one Tiled map, imported or refused as expected.

    judge.py MAPTOOL TMXRASTERIZER MAP match
    judge.py MAPTOOL TMXRASTERIZER MAP refuse TEXT [| LATER-TEXT]...

match: the map imports; the MAP passes `maptool check`; its players are the points of the
object layer "Spieler" (one player, as Neu makes it, where there is none); and
`maptool render` draws what Tiled's tmxrasterizer draws of the original, pixel for pixel, with
the layers that do not come along hidden (object and image layers, and the tile layer
"Z-Maske"). Tiled's picture is drawn over the map's background colour where the map has one
(tmxrasterizer leaves it out; Tiled shows it behind the layers), over the view's grey
(100, 100, 100) otherwise. Row 1 of the new tile set is judged the same way: `maptool render
--zmask` against the layer "Z-Maske" alone over black, or all black where there is no such
layer.

Tolerance: none, except where a tile layer that Tiled draws at an opacity below 1 or with a
tint colour (its own or a group's) reaches a pixel: there a channel may differ by up to the
number of such layers in the map. Qt's painter rounds each such blend by 1 either way
depending on the path a row takes through it; no one rule reproduces every pixel.

refuse: the import fails, writes no MAP, its first reason contains TEXT, and for each
LATER-TEXT a later reason contains it (a refusal lists every reason at once).

Exit code 77 (skipped) where tmxrasterizer is not installed and a picture is to be judged.
"""
import json
import os
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

from pngio import read_png

GREY = (100, 100, 100)
BLACK = (0, 0, 0)
SKIPPED = 77
SHOWN = 5  # differing pixels listed


def run(arguments, env=None):
    done = subprocess.run(arguments, capture_output=True, text=True, env=env)
    return done.returncode, done.stdout, done.stderr


def parse_colour(text):
    """Tiled's #RRGGBB or #AARRGGBB, as an opaque colour drawn over the view's grey."""
    text = text.lstrip("#")
    alpha = int(text[:2], 16) if len(text) == 8 else 255
    r, g, b = (int(text[-6:][i:i + 2], 16) for i in (0, 2, 4))
    return tuple(round((c * alpha + grey * (255 - alpha)) / 255) for c, grey in zip((r, g, b), GREY))


def tmx_tree(element):
    """The layers of a TMX map or group as (kind, attributes, children, objects) in the order
    of the JSON format's "layers"."""
    kinds = {"layer": "tilelayer", "objectgroup": "objectgroup", "imagelayer": "imagelayer",
             "group": "group"}
    return [(kinds[child.tag], child.attrib, tmx_tree(child),
             [(float(o.get("x", 0)), float(o.get("y", 0))) for o in child.findall("object")])
            for child in element if child.tag in kinds]


def json_tree(layers):
    return [(layer.get("type"), layer, json_tree(layer.get("layers", [])),
             [(o.get("x", 0), o.get("y", 0)) for o in layer.get("objects", [])])
            for layer in layers]


class Layers:
    """What the judgement needs to know of a map: its layers by kind, its background colour,
    the points of its object layer "Spieler", and the tile layers that Tiled draws blended."""

    def __init__(self, path):
        self.hidden_names = set()  # layers that do not come along (shown by tmxrasterizer)
        self.zmask = None
        self.zmask_path = None
        self.background = None
        self.players = None
        self.blended = []  # of each: its name and its groups' names, the way to show it alone
        if path.endswith(".tmx"):
            root = ElementTree.parse(path).getroot()
            attributes, tree = root.attrib, tmx_tree(root)
        else:
            with open(path, encoding="utf-8") as f:
                attributes = json.load(f)
            tree = json_tree(attributes.get("layers", []))
        if attributes.get("backgroundcolor"):
            self.background = parse_colour(attributes["backgroundcolor"])
        self._walk(tree, [], False, True)

    def _walk(self, tree, groups, blended, visible):
        for kind, attributes, children, objects in tree:
            name = attributes.get("name", "")
            shown = visible and str(attributes.get("visible", "1")) not in ("0", "False", "false")
            # Drawn at an opacity below 1 or with a tint, by itself or through a group.
            mixed = blended or float(attributes.get("opacity", 1)) < 1 or bool(
                attributes.get("tintcolor"))
            if kind == "objectgroup":
                self.hidden_names.add(name)
                if name == "Spieler" and self.players is None:
                    self.players = objects
            elif kind == "imagelayer":
                self.hidden_names.add(name)
            elif kind == "group":
                self._walk(children, groups + [name], mixed, shown)
            elif name.lower() == "z-maske":
                if self.zmask is None:
                    self.zmask, self.zmask_path = name, groups + [name]
            elif mixed and shown:
                self.blended.append(groups + [name])


def byte_mul(value, alpha):
    """value * alpha / 255, rounded as Qt's raster engine rounds it."""
    t = value * alpha
    return (t + (t >> 8) + 0x80) >> 8


def compare(label, tiled_png, ours_png, ground, reach=None, tolerance=0):
    """The number of pixels that differ between Tiled's picture over ground and ours; where
    the picture `reach` is not clear, by more than `tolerance` in a channel."""
    tiled, ours = read_png(tiled_png), read_png(ours_png)
    if (tiled.width, tiled.height) != (ours.width, ours.height):
        print(f"{label}: Tiled draws {tiled.width} x {tiled.height} pixels, "
              f"maptool {ours.width} x {ours.height}")
        return 1
    different, allowed, largest = [], 0, 0
    opaque, clear = b"\xff" * tiled.width, b"\0" * tiled.width
    bare = [bytes((g,)) * tiled.width for g in ground]
    seen_of = {}
    for y in range(tiled.height):
        # The common rows at the speed of byte strings: Tiled's pixels all opaque, or all clear.
        theirs, mine = tiled.row(y), ours.row(y)
        alpha = theirs[3::4]
        if alpha == opaque and all(theirs[c::4] == mine[c::4] for c in range(3)):
            continue
        if alpha == clear and all(bare[c] == mine[c::4] for c in range(3)):
            continue
        for x in range(tiled.width):
            t, o = tiled.at(x, y), ours.at(x, y)[:3]
            # Tiled's pixel premultiplied again (as Qt held it before writing the file) over
            # the ground, in Qt's arithmetic: the colour plus the ground times the uncovered part.
            if t not in seen_of:
                seen_of[t] = tuple(byte_mul(c, t[3]) + byte_mul(g, 255 - t[3])
                                   for c, g in zip(t[:3], ground))
            seen = seen_of[t]
            if seen == o:
                continue
            off = max(abs(a - b) for a, b in zip(seen, o))
            largest = max(largest, off)
            if reach is not None and reach.at(x, y)[3] and off <= tolerance:
                allowed += 1
            else:
                different.append((x, y, t, seen, o))
    for x, y, raw, seen, mine in different[:SHOWN]:
        print(f"{label}: pixel ({x}, {y}): Tiled {seen} (drawn {raw}), maptool {mine}")
    if different or allowed:
        print(f"{label}: {len(different) + allowed} of {tiled.width * tiled.height} pixels differ, "
              f"by up to {largest} in a channel; {allowed} of them by no more than {tolerance}"
              f" where blended layers reach")
    return len(different)


def judge_match(maptool, rasterizer, source, work):
    target = os.path.join(work, "Karten", "Import.MAP")
    code, out, err = run([maptool, "import", "--externe-pfade", source, target])
    sys.stdout.write(out + err)
    if code != 0:
        print(f"FAIL: the import was refused (exit code {code})")
        return 1
    failures = 0
    code, out, err = run([maptool, "check", target])
    if code != 0:
        print(f"FAIL: maptool check finds: {out}{err}")
        failures += 1

    layers = Layers(source)
    code, out, err = run([maptool, "info", "--json", target])
    info = json.loads(out)[0]
    expected = [(round(x), round(y)) for x, y in layers.players] if layers.players else None
    found = [(p["X"], p["Y"]) for p in info["Players"]]
    if expected is not None and found != expected:
        print(f"FAIL: players {found}, the layer \"Spieler\" has {expected}")
        failures += 1
    if expected is None and len(found) != 1:
        print(f"FAIL: a map without players gets {len(found)} players, not one")
        failures += 1

    if not rasterizer or not os.path.isfile(rasterizer):
        print("tmxrasterizer is not installed: the pictures are not judged")
        return SKIPPED if failures == 0 else 1
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", XDG_RUNTIME_DIR=os.path.join(work, "run"))
    os.makedirs(env["XDG_RUNTIME_DIR"], mode=0o700)

    def tiled(arguments, picture):
        code, out, err = run([rasterizer] + arguments + [source, picture], env)
        if code != 0:
            raise RuntimeError(f"tmxrasterizer failed: {out}{err}")

    def ours(arguments, picture):
        code, out, err = run([maptool, "render", target, picture] + arguments)
        if code != 0:
            raise RuntimeError(f"maptool render failed: {out}{err}")

    hide = sorted(layers.hidden_names | ({layers.zmask} if layers.zmask else set()))
    tiled([a for name in hide for a in ("--hide-layer", name)], os.path.join(work, "tiled.png"))
    ours([], os.path.join(work, "maptool.png"))
    # Where a layer drawn at an opacity or with a tint reaches, Qt's painter rounds each blend
    # in ways that depend on how it happens to go through a row (measured: a pixel may differ
    # by 1 from any one fixed rule); there each such layer may leave 1 in a channel.
    reach = None
    if layers.blended:
        reach = os.path.join(work, "blended.png")
        names = sorted({name for path in layers.blended for name in path})
        tiled([a for name in names for a in ("--show-layer", name)], reach)
        reach = read_png(reach)
    failures += compare("picture", os.path.join(work, "tiled.png"), os.path.join(work, "maptool.png"),
                        layers.background or GREY, reach, len(layers.blended)) > 0

    ours(["--zmask"], os.path.join(work, "maptool-z.png"))
    if layers.zmask:
        tiled([a for name in layers.zmask_path for a in ("--show-layer", name)],
              os.path.join(work, "tiled-z.png"))
        failures += compare(f"Z-masks (\"{layers.zmask}\")", os.path.join(work, "tiled-z.png"),
                            os.path.join(work, "maptool-z.png"), BLACK) > 0
    else:
        masks = read_png(os.path.join(work, "maptool-z.png"))
        count = masks.width * masks.height
        red, green, blue = (int.from_bytes(masks.rgba[c::4], "big") for c in range(3))
        lit = count - (red | green | blue).to_bytes(count, "big").count(0)  # pixels not black
        if lit:
            print(f"Z-masks: {lit} pixels are not black, though the map has no layer \"Z-Maske\"")
            failures += 1
    print("FAIL" if failures else "PASS: imported, checked and drawn as Tiled draws it")
    return 1 if failures else 0


def judge_refusal(maptool, source, work, text):
    target = os.path.join(work, "Karten", "Import.MAP")
    code, out, err = run([maptool, "import", "--externe-pfade", source, target])
    sys.stdout.write(out + err)
    lines = [line for line in err.splitlines() if line.strip()]
    prefix = f"maptool: {source}: "
    first = lines[0][len(prefix):] if lines and lines[0].startswith(prefix) else (lines or [""])[0]
    if code == 0 or os.path.exists(target):
        print("FAIL: the map was imported; it must be refused")
        return 1
    expected_first, *later = text.split(" | ")
    if expected_first.lower() not in first.lower():
        print(f"FAIL: the first reason is \"{first}\", expected one with \"{expected_first}\"")
        return 1
    for reason in later:
        if not any(reason.lower() in line.lower() for line in lines[1:]):
            print(f"FAIL: no later reason holds \"{reason}\"")
            return 1
    print(f"PASS: refused, first with \"{first}\"")
    return 0


def main(argv):
    maptool, rasterizer, source, expectation = argv[1:5]
    with tempfile.TemporaryDirectory() as work:
        os.makedirs(os.path.join(work, "Karten"))
        if expectation == "match":
            return judge_match(maptool, rasterizer, source, work)
        return judge_refusal(maptool, source, work, " ".join(argv[5:]))


if __name__ == "__main__":
    sys.exit(main(sys.argv))
