#!/usr/bin/env python3
"""The Windows packages' contents and the portable ZIP.

  package_windows.py stage STAGE VERSION README SAMPLES STRIP PROGRAM.exe...
      fills the folder STAGE with the programs (their debugging information taken out by the
      command STRIP, their header's time the packages' time below), SAMPLES as Karten and
      README as LIESMICH.txt (UTF-8 with a byte order mark and CRLF line ends, which every
      Notepad shows right whatever the system's code page), and writes beside STAGE the lists the setup script
      includes: STAGE.install.nsh (the files to install) and STAGE.uninstall.nsh (exactly those
      files to remove, then their folders if empty).
  package_windows.py zip STAGE TOP OUTPUT.zip
      packs STAGE under the folder TOP into OUTPUT.zip: entries sorted, every time stamp the
      packages' time (SOURCE_DATE_EPOCH, else the release date), so the same sources give the
      same bytes.

Lines of README that start with "{program}" belong to that program and are kept (without the
mark) only when it is packaged.
"""
import calendar
import os
import re
import shutil
import subprocess
import sys
import time
import zipfile

RELEASE_DATE = (2026, 12, 1, 0, 0, 0)


def readme_text(source, version, programs):
    kept = []
    for line in open(source, encoding="utf-8").read().split("\n"):
        mark = re.match(r"^\{(\w+)\}", line)
        if mark:
            if mark.group(1) not in programs:
                continue
            line = line[mark.end():]
        kept.append(line.replace("@VERSION@", version))
    return "\ufeff" + "\r\n".join(kept)


def stage_files(stage):
    """Every file below stage, as sorted paths relative to it with / between folders."""
    found = []
    for folder, _, files in os.walk(stage):
        for name in files:
            found.append(os.path.relpath(os.path.join(folder, name), stage).replace(os.sep, "/"))
    return sorted(found)


def nsis_quote(text):
    return '"' + text.replace("$", "$$") + '"'


def write_nsis_lists(stage):
    files = stage_files(stage)
    folders = sorted({os.path.dirname(f) for f in files if os.path.dirname(f)})
    size = sum(os.path.getsize(os.path.join(stage, f)) for f in files)
    install = ["; Made by package_windows.py from the staged files.",
               "!define PACKAGE_SIZE_KB %d" % ((size + 1023) // 1024)]
    for folder in [""] + folders:
        inside = [f for f in files if os.path.dirname(f) == folder]
        if not inside:
            continue
        target = "$INSTDIR" + ("\\" + folder.replace("/", "\\") if folder else "")
        install.append('SetOutPath "%s"' % target)
        for f in inside:
            install.append("File " + nsis_quote(os.path.abspath(os.path.join(stage, f))))
    uninstall = ["; Made by package_windows.py: exactly the installed files, then their folders,"
                 " each only when nothing else is in it."]
    for f in files:
        uninstall.append('Delete "$INSTDIR\\%s"' % f.replace("/", "\\"))
    for folder in sorted(folders, key=lambda d: -d.count("/")):
        uninstall.append('RMDir "$INSTDIR\\%s"' % folder.replace("/", "\\"))
    open(stage + ".install.nsh", "w", encoding="utf-8").write("\n".join(install) + "\n")
    open(stage + ".uninstall.nsh", "w", encoding="utf-8").write("\n".join(uninstall) + "\n")


def stage(folder, version, readme, samples, strip, programs):
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    names = set()
    for program in programs:
        copy = os.path.join(folder, os.path.basename(program))
        # strip stamps the program's header with the time SOURCE_DATE_EPOCH names, else now.
        subprocess.run([strip, "--strip-debug", "-o", copy, program], check=True,
                       env=dict(os.environ, SOURCE_DATE_EPOCH=str(calendar.timegm(package_date()))))
        names.add(os.path.splitext(os.path.basename(program))[0])
    shutil.copytree(samples, os.path.join(folder, "Karten"), copy_function=shutil.copyfile)
    with open(os.path.join(folder, "LIESMICH.txt"), "w", encoding="utf-8", newline="") as out:
        out.write(readme_text(readme, version, names))
    write_nsis_lists(folder)


def package_date():
    """The time of every packaged file: SOURCE_DATE_EPOCH, else the release date."""
    epoch = os.environ.get("SOURCE_DATE_EPOCH")
    return tuple(time.gmtime(int(epoch))[:6]) if epoch else RELEASE_DATE


def pack(folder, top, output):
    date = package_date()
    partial = output + ".part"
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as archive:
        for name in stage_files(folder):
            entry = zipfile.ZipInfo(top + "/" + name, date_time=date)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 0
            entry.external_attr = 0x20  # the archive attribute, as Windows' own archives have
            with open(os.path.join(folder, name), "rb") as data:
                archive.writestr(entry, data.read())
    os.replace(partial, output)


def main(argv):
    if len(argv) >= 8 and argv[1] == "stage":
        stage(argv[2], argv[3], argv[4], argv[5], argv[6], argv[7:])
    elif len(argv) == 5 and argv[1] == "zip":
        pack(argv[2], argv[3], argv[4])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv)
