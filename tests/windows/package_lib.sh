# The shared start of the Windows packages' tests: sources the end-to-end helpers, runs the test
# in a virtual X server (e2e_begin) and sets $package (the package file, the test's argument),
# $version (from the package's name Karteneditor-VERSION-SUFFIX), $samples (the sample maps that
# every package holds) and $wine.
#
# Usage in a test: . "$(dirname "$(readlink -f "$0")")/package_lib.sh"
#                  package_begin "$(readlink -f "$0")" SUFFIX "$@"
. "$(dirname "${BASH_SOURCE[0]}")/../e2e/e2e_lib.sh"

fail() { echo "FAIL: $*"; exit 1; }

package_begin() {
    local script=$1 suffix=$2
    shift 2
    e2e_begin "$script" "$@"
    # e2e_begin keeps its argument as $editor: here the package.
    package=$editor
    version=$(basename "$package" | sed -n "s/^Karteneditor-\\(.*\\)-$suffix\$/\\1/p")
    [ -n "$version" ] || fail "no version in the package's name $package"
    samples=$(readlink -f "$(dirname "${BASH_SOURCE[0]}")/../../samples/Karten")
    wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
}
