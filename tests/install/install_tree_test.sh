#!/usr/bin/env bash
# `cmake --install` into a scratch DESTDIR holds exactly the files a desktop program needs: the
# programs, the desktop entry and AppStream metainfo (both as their validators accept them), the
# icon as SVG and in every PNG size of the hicolor theme, a man page for each docs/man/*.1 and
# every sample map.
#
# Usage: install_tree_test.sh BUILD_DIR SOURCE_DIR "PROGRAM..."
set -euo pipefail
build=$1
source=$2
read -ra programs <<<"$3"
id=org.karteneditor.Karteneditor
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

DESTDIR=$scratch/dest cmake --install "$build" --prefix /usr/local >/dev/null
root=$scratch/dest/usr/local

# Every file expected, and nothing else.
{
    for p in "${programs[@]}"; do echo "bin/$p"; done
    echo "share/applications/$id.desktop"
    echo "share/metainfo/$id.metainfo.xml"
    echo "share/icons/hicolor/scalable/apps/$id.svg"
    for size in 16 24 32 48 64 128 256; do echo "share/icons/hicolor/${size}x$size/apps/$id.png"; done
    for page in "$source"/docs/man/*.1; do echo "share/man/man1/$(basename "$page").gz"; done
    (cd "$source/samples" && find Karten -type f) | sed "s|^|share/$id/|"
} | sort >"$scratch/expected"
(cd "$root" && find . -type f -o -type l) | sed 's|^\./||' | sort >"$scratch/installed"
diff -u "$scratch/expected" "$scratch/installed" >&2 || fail "the installed files differ from the expected (- expected, + installed)"
(cd "$source/samples" && find Karten -type f -exec cmp {} "$root/share/$id/{}" \;) || fail "a sample map differs"

# The validators accept the installed files; appstreamcli's tree check also finds the desktop
# entry that the metainfo launches. Hints count as failures too.
validation=$(desktop-file-validate "$root/share/applications/$id.desktop" 2>&1) || true
[ -z "$validation" ] || fail "desktop-file-validate: $validation"
appstreamcli validate --no-net "$root/share/metainfo/$id.metainfo.xml"
appstreamcli validate-tree --no-net "$root"

# A metainfo with a screenshot address validates too (the address is set when configuring).
cat >"$scratch/metainfo.cmake" <<CMAKE
include("$source/dist/Metainfo.cmake")
mapeditor_metainfo(OUTPUT "$scratch/$id.metainfo.xml" SCREENSHOT_URL "https://example.org/a?b=1&c=editor.png")
CMAKE
cmake -DMAPEDITOR_APP_ID=$id -P "$scratch/metainfo.cmake"
appstreamcli validate --no-net "$scratch/$id.metainfo.xml"
grep -qF '<image>https://example.org/a?b=1&amp;c=editor.png</image>' "$scratch/$id.metainfo.xml" ||
    fail "the screenshot address is not in the metainfo"

# The desktop entry's icon is the installed one; each PNG is as large as its folder says.
grep -qx "Icon=$id" "$root/share/applications/$id.desktop" || fail "the desktop entry names another icon"
python3 - "$root"/share/icons/hicolor/*x*/apps/$id.png <<'PY' || fail "a PNG icon is not of its folder's size"
import re, struct, sys
for path in sys.argv[1:]:
    size = int(re.search(r"/(\d+)x\1/apps/", path).group(1))
    data = open(path, "rb").read(24)
    if data[:8] != b"\x89PNG\r\n\x1a\n" or struct.unpack(">II", data[16:24]) != (size, size):
        print("%s is not a %d x %d PNG" % (path, size, size))
        sys.exit(1)
PY

# The man pages render without a warning.
for page in "$root"/share/man/man1/*.gz; do
    warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null) || true
    [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done
echo "installed tree complete and valid: $(wc -l <"$scratch/installed") files"
