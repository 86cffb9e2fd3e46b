#!/usr/bin/env bash
# The Debian package: `cpack -G DEB` builds it with the dependencies dpkg-shlibdeps found, and
# `dpkg-deb -x` unpacks it into OUT/root, where it holds the same tree as `cmake --install
# --prefix /usr` and its programs start (--version, --help) without a display. The unpacked tree
# stays for the tests that start the editor from it.
#
# Usage: package_test.sh BUILD_DIR OUT_DIR "PROGRAM..."
set -euo pipefail
build=$(readlink -f "$1")
out=$2
read -ra programs <<<"$3"
fail() { echo "FAIL: $*"; exit 1; }

rm -rf "$out"
mkdir -p "$out"
out=$(readlink -f "$out")
(cd "$build" && cpack -G DEB -B "$out/cpack" >"$out/cpack.log") || { cat "$out/cpack.log"; fail "cpack"; }
debs=("$out"/cpack/*.deb)
[ ${#debs[@]} -eq 1 ] || fail "cpack made ${#debs[@]} packages"
deb=${debs[0]}
echo "== $(basename "$deb")"
dpkg-deb -I "$deb"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = karteneditor ] || fail "package name"
[[ "$(field Maintainer)" =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "Maintainer is not 'Name <address>'"
[ -n "$(field Description)" ] || fail "no Description"

# The libraries come with their packages: the editor's Qt 6 libraries and libpng, and zlib
# where a program links it itself (the editor reaches it only through libpng).
dpkg-deb -x "$deb" "$out/root"
depends=$(field Depends)
needed="libqt6widgets6 libqt6gui6 libqt6core6 libpng16-16"
for program in "${programs[@]}"; do
    if readelf -d "$out/root/usr/bin/$program" | grep -q 'Shared library: \[libz\.so'; then
        needed+=" zlib1g"
    fi
done
for package in $needed; do
    grep -qE "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done

# The same tree as an installation: the same files, the same bytes but for the stripped programs.
DESTDIR=$out/dest cmake --install "$build" --prefix /usr >/dev/null
(cd "$out/dest" && find . -type f -o -type l | sort) >"$out/installed"
(cd "$out/root" && find . -type f -o -type l | sort) >"$out/unpacked"
diff -u "$out/installed" "$out/unpacked" || fail "the package's files differ from an installation's"
while read -r file; do
    case "$file" in ./usr/bin/*) continue ;; esac
    cmp -s "$out/dest/$file" "$out/root/$file" || fail "$file differs from its installed copy"
done <"$out/unpacked"

# The unpacked programs start where no display is.
for program in "${programs[@]}"; do
    for option in --version --help; do
        output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$out/root/usr/bin/$program" "$option") ||
            fail "$program $option ended with $?"
        grep -qF "$program" <<<"$output" || fail "$program $option printed: $output"
    done
done
echo "package complete: $(wc -l <"$out/unpacked") files, Depends: $depends"
