#!/usr/bin/env python3
"""maptool.exe under Wine against the Linux maptool: the same command lines in two copies of the
same folder of maps give the same exit codes, standard output and error, and the same files,
byte for byte.

The folders hold the sample maps (and one copied under a name with an umlaut), damaged MAP files
from the fuzzing seeds, Tiled maps that import and ones that are refused, and what the commands
before wrote there. A pattern with '*' reaches the Windows program as it is (cmd.exe does not
expand it: the program does); the Linux program gets it expanded as a shell in the C locale
expands it. One exception to byte equality: a picture of `render --players` has the players'
numbers drawn by each system's text rasterizer, so the two pictures may differ only inside the
numbers' boxes, and the Windows picture must show a number in each of them.

Usage: maptool_parity_test.py MAPTOOL.EXE LINUX_BUILD_DIR SOURCE_DIR
(WINEPREFIX names the prefix; the Linux maptool is built in LINUX_BUILD_DIR when needed.)
"""
import glob
import json
import os
import shlex
import shutil
import subprocess
import sys
import tempfile

# The PNG reader of the end-to-end scenarios.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from view_picture import read_png  # noqa: E402

# The command lines, run in order in both folders; a later one may read what an earlier wrote.
# After " | " a line may give the Windows program the same command in Windows' spelling.
COMMANDS = r"""
--version
--help
frobnicate Karten/Wald.MAP
info Karten/Wald.MAP Karten/Wüste.MAP
info --json Karten/Wald.MAP Karten/Insel.MAP
info --json Kaputt/negative-bounds.MAP Kaputt/thousand-players.MAP Kaputt/empty-name.MAP
info Karten/*.MAP
check Karten/*.MAP | check Karten\*.MAP
check --verbose Kaputt/*.MAP
check Karten/Fehlt.MAP Karten/Wald.MAP
check Karten/*.XYZ
render Karten/Wald.MAP wald.png
render --scale 1:3 Karten/Archipel.MAP archipel-3.png
render --fit 200 --zmask Karten/Insel.MAP insel-hoehen.png
render Kaputt/columns-beyond-999.MAP kaputt.png
render --players --scale 1:2 Karten/Wald.MAP wald-spieler.png
render Karten/Wald.MAP Karten/Wald.PNG
render --scale 0 Karten/Wald.MAP null.png
render Karten/Wald.MAP bild.bmp
export Karten/Wald.MAP wald.tmx
export Karten/Archipel.MAP archipel.tmj
export Karten/Wüste.MAP Wüste.tmx
export Karten/Wald.MAP Karten/Wald.tmj | export Karten\Wald.MAP Karten\Wald.tmj
import wald.tmx Zurück.MAP
import archipel.tmj Archipel2.MAP
import Tiled/data_zstd.tmx zstd.MAP
import Tiled/data_gzip.tmx gzip.MAP
import Tiled/data_csv.tmj csv.MAP
import Tiled/data_zstd.tmj zstd2.MAP
import Tiled/players.tmx spieler.MAP
import Tiled/infinite_negative.tmx unendlich.MAP
import Tiled/flips.tmx gespiegelt.MAP
import Tiled/doctype.tmx doctype.MAP
import Tiled/refuse_isometric.tmx iso.MAP
import Tiled/refuse_two_reasons.tmx zwei.MAP
import Tiled/refuse_too_large.tmx gross.MAP
import Beispiele/desert.tmx Wueste2.MAP
import Beispiele/hexagonal-mini.tmx hex.MAP
import Tiled/players.tmx
"""

# Pictures with the players' numbers, and where a number's box lies from its marker's centre
# (the marker's centre is the player's map point at the picture's scale): its top-left corner
# and a size that holds a number of up to two digits in either system's font.
PLAYER_PICTURES = {"wald-spieler.png": ("Karten/Wald.MAP", 2)}
NUMBER_BOX = (-16, -15, 28, 24)


def fail(text):
    print("FAIL: " + text)
    sys.exit(1)


def linux_maptool(build, source):
    """Builds the Linux maptool in `build` (configured first when new) and returns its path."""
    if not os.path.exists(os.path.join(build, "build.ninja")):
        subprocess.run(["cmake", "-S", source, "-B", build, "-G", "Ninja",
                        "-DCMAKE_BUILD_TYPE=RelWithDebInfo"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build, "--target", "maptool"], check=True,
                   stdout=subprocess.DEVNULL)
    return os.path.join(build, "tools", "maptool", "maptool")


def make_folder(folder, source):
    """The maps the commands work on."""
    data = os.path.join(source, "tests", "data")
    shutil.copytree(os.path.join(source, "samples", "Karten"), os.path.join(folder, "Karten"))
    for ending in ("MAP", "PNG"):
        shutil.copy(os.path.join(folder, "Karten", "Insel." + ending),
                    os.path.join(folder, "Karten", "Wüste." + ending))
    shutil.copytree(os.path.join(source, "fuzz", "corpus", "map"), os.path.join(folder, "Kaputt"))
    shutil.copytree(os.path.join(data, "tiled-judge"), os.path.join(folder, "Tiled"))
    os.makedirs(os.path.join(folder, "Beispiele"))
    for name in ("desert.tmx", "desert.tsx", "tmw_desert_spacing.png", "hexagonal-mini.tmx",
                 "hexmini.png"):
        shutil.copy(os.path.join(data, "tiled-examples", name), os.path.join(folder, "Beispiele"))
    for path, _, files in os.walk(folder):
        for name in files:
            os.chmod(os.path.join(path, name), 0o644)


def shell_expanded(arguments, folder):
    """The arguments as a shell in the C locale hands them over."""
    out = []
    for argument in arguments:
        if "*" in argument or "?" in argument:
            names = sorted(glob.glob(argument, root_dir=folder), key=lambda n: n.encode())
            if names:
                out.extend(names)
                continue
        out.append(argument)
    return out


def files_of(folder):
    found = {}
    for path, _, files in os.walk(folder):
        for name in files:
            full = os.path.join(path, name)
            with open(full, "rb") as f:
                found[os.path.relpath(full, folder)] = f.read()
    return found


def compare_player_picture(name, linux, windows, players, scale):
    lrows, wrows = read_png(linux), read_png(windows)
    lw, lh, ww, wh = len(lrows[0]), len(lrows), len(wrows[0]), len(wrows)
    if (lw, lh) != (ww, wh):
        fail("%s: %dx%d on Linux, %dx%d on Windows" % (name, lw, lh, ww, wh))
    boxes = []
    for player in players:
        left = player["X"] // scale + NUMBER_BOX[0]
        top = player["Y"] // scale + NUMBER_BOX[1]
        boxes.append((left, top, left + NUMBER_BOX[2], top + NUMBER_BOX[3]))
    inside = lambda x, y: any(l <= x < r and t <= y < b for l, t, r, b in boxes)
    for y in range(lh):
        for x in range(lw):
            if lrows[y][x] != wrows[y][x] and not inside(x, y):
                fail("%s: pixel (%d, %d) is %s on Linux, %s on Windows, outside the numbers"
                     % (name, x, y, lrows[y][x], wrows[y][x]))
    # Each box shows a number on Windows. Where the two differ in a box, Linux shows its number
    # in the marker's colour over the picture, so Windows must show that colour at some of those
    # pixels too: a box without a number on Windows differs only by the picture behind.
    for l, t, r, b in boxes:
        differing = [(lrows[y][x], wrows[y][x]) for y in range(max(t, 0), min(b, lh))
                     for x in range(max(l, 0), min(r, lw)) if lrows[y][x] != wrows[y][x]]
        linux_colours = {linux_pixel for linux_pixel, _ in differing}
        if differing and not any(w in linux_colours for _, w in differing):
            fail("%s: no number in the box at (%d, %d) on Windows" % (name, l, t))
    return sum(1 for y in range(lh) for x in range(lw) if lrows[y][x] != wrows[y][x])


def main():
    exe, linux_build, source = (os.path.abspath(a) for a in sys.argv[1:4])
    linux = linux_maptool(linux_build, source)
    wine = shutil.which("wine64") or "/usr/lib/wine/wine64"
    work = tempfile.mkdtemp(prefix="maptool-parity-")
    try:
        folders = {"linux": os.path.join(work, "linux"), "windows": os.path.join(work, "windows")}
        for folder in folders.values():
            make_folder(folder, source)
        environment = dict(os.environ, LC_ALL="C.UTF-8", WINEDEBUG="-all")
        for line in COMMANDS.strip().splitlines():
            linux_line, _, windows_line = line.partition(" | ")
            arguments = shlex.split(linux_line)
            runs = {
                "linux": subprocess.run([linux] + shell_expanded(arguments, folders["linux"]),
                                        cwd=folders["linux"], capture_output=True, env=environment),
                "windows": subprocess.run([wine, exe] + (windows_line.split() or arguments),
                                          cwd=folders["windows"], capture_output=True,
                                          env=environment),
            }
            lin, win = runs["linux"], runs["windows"]
            for what in ("returncode", "stdout", "stderr"):
                if getattr(lin, what) != getattr(win, what):
                    fail("maptool %s: %s differs\n-- Linux:\n%s\n-- Windows:\n%s" % (
                        line, what, getattr(lin, what), getattr(win, what)))
            print("same: maptool %s (exit %d)" % (line, lin.returncode))
        linux_files, windows_files = files_of(folders["linux"]), files_of(folders["windows"])
        if sorted(linux_files) != sorted(windows_files):
            fail("the folders hold different files: only on Linux %s, only on Windows %s" % (
                sorted(set(linux_files) - set(windows_files)),
                sorted(set(windows_files) - set(linux_files))))
        for name in sorted(linux_files):
            if name in PLAYER_PICTURES:
                continue
            if linux_files[name] != windows_files[name]:
                fail("%s differs between Linux and Windows" % name)
        for name, (map_file, scale) in PLAYER_PICTURES.items():
            players = json.loads(subprocess.run([linux, "info", "--json", map_file],
                                                cwd=folders["linux"], capture_output=True,
                                                check=True).stdout)[0]["Players"]
            differing = compare_player_picture(name, os.path.join(folders["linux"], name),
                                               os.path.join(folders["windows"], name), players,
                                               scale)
            print("%s: %d pixels of the numbers differ, the rest is the same" % (name, differing))
        print("same exit codes, texts and %d files" % len(linux_files))
    finally:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
