#!/usr/bin/env bash
# Checks that the repository stands alone: a copy of its files (what git tracks and the new
# files it does not ignore), alone in an empty temporary folder, builds and passes its test
# suite, and no test touches a file beside it. The suite runs under strace; an absolute path in
# the folder around the copy, or in the folder around this checkout (where ../shared and other
# checkouts lie; only ../shared when the checkout lies in the temporary folder), fails the
# check. The copy and its build are removed afterwards.
set -euo pipefail
cd "$(dirname "$0")/.."
checkout=$PWD
# The same folder for every run from this checkout, so that ccache knows the copy's absolute
# paths (some tests are compiled with them) from the run before.
scratch=${TMPDIR:-/tmp}/karteneditor-alone-$(printf %s "$checkout" | md5sum | cut -c1-12)
trace=$(mktemp)
trap 'rm -rf "$scratch" "$trace"' EXIT
rm -rf "$scratch"
copy=$scratch/karteneditor
mkdir -p "$copy"
git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do if [ -e "$file" ]; then printf '%s\0' "$file"; fi; done |
    tar --null -T - -cf - | tar -xf - -C "$copy"

cd "$copy"
unset OLDPWD  # bash looks at an inherited OLDPWD, which names this checkout
scripts/build.sh build -DMAPEDITOR_BENCH=OFF
suite=0
# Only the file system calls stop the traced programs, so the suite runs at nearly full speed.
strace -f --seccomp-bpf -qq -s 4096 -e trace=%file -e signal=none -o "$trace" \
    ctest --test-dir build --output-on-failure --no-tests=error -j "$(nproc)" || suite=$?

reads=0
python3 - "$trace" "$scratch" "$copy" "$(dirname "$checkout")" <<'PY' || reads=1
import os, re, sys
trace, scratch, copy, around_checkout = sys.argv[1:5]
path_argument = re.compile(r'"((?:[^"\\]|\\.)*)"')
# Tools look for their own settings in every folder above the working folder; that is no test
# reading a file.
tool_settings = {".python-version"}

def inside(path, folder):
    return path == folder or path.startswith(folder.rstrip("/") + "/")

# A checkout that lies in the temporary folder itself (or at the top) has everyone's temporary
# files around it; there only ../shared counts as beside it.
temporary = os.path.realpath(os.environ.get("TMPDIR") or "/tmp")
if os.path.realpath(around_checkout) in ("/", temporary):
    around_checkout = os.path.join(around_checkout, "shared")

outside = set()
with open(trace, errors="replace") as lines:
    for line in lines:
        found = path_argument.search(line)
        if not found or not found.group(1).startswith("/"):
            continue
        path = os.path.normpath(found.group(1))
        if os.path.basename(path) in tool_settings:
            continue
        beside_copy = inside(path, scratch) and path != scratch and not inside(path, copy)
        beside_checkout = inside(path, around_checkout)
        if beside_copy or beside_checkout:
            outside.add(path)
if outside:
    print("the tests touched files outside the repository:")
    for path in sorted(outside)[:20]:
        print("  " + path)
    sys.exit(1)
print("its tests touched no file beside the repository")
PY
[ "$suite" -eq 0 ] || echo "the test suite failed in the copy alone"
exit $((suite || reads))
