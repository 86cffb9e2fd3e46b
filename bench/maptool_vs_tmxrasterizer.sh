#!/usr/bin/env bash
# Renders the same map of 1000 x 1000 fields of 16 pixels (a 16000 x 16000 picture) with
# `maptool render` and with Tiled's tmxrasterizer (on maptool's export, without the player
# layer), one after the other, and prints the time and peak resident memory of each and the
# ratios. Usage: bench/maptool_vs_tmxrasterizer.sh [BUILD-DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
maptool=$build/tools/maptool/maptool
for program in "$maptool" "$build/bench/make_bench_map" /usr/bin/time; do
    [ -x "$program" ] || { echo "missing: $program (build first; /usr/bin/time is Debian's time)"; exit 1; }
done
command -v tmxrasterizer >/dev/null || { echo "missing: tmxrasterizer (Debian's tiled)"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/Karten" "$work/run"
chmod 700 "$work/run"
"$build/bench/make_bench_map" "$work/Karten/Bench"
"$maptool" export "$work/Karten/Bench.MAP" "$work/bench.tmx"

# Prints "seconds kilobytes" of a command: elapsed time and maximum resident set size.
measure() {
    /usr/bin/time -f '%e %M' -o "$work/measure" "$@" >/dev/null 2>"$work/stderr" || {
        cat "$work/stderr"
        exit 1
    }
    cat "$work/measure"
}

read -r ourTime ourMemory < <(measure "$maptool" render "$work/Karten/Bench.MAP" "$work/maptool.png")
read -r tiledTime tiledMemory < <(QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work/run \
    measure tmxrasterizer --hide-layer Spieler "$work/bench.tmx" "$work/tiled.png")

awk -v ot="$ourTime" -v om="$ourMemory" -v tt="$tiledTime" -v tm="$tiledMemory" \
    -v of="$(stat -c %s "$work/maptool.png")" -v tf="$(stat -c %s "$work/tiled.png")" 'BEGIN {
    print "map: 1000 x 1000 fields of 16 x 16 pixels, picture 16000 x 16000"
    printf "%-14s %9s %12s %12s\n", "", "time (s)", "peak (MB)", "PNG (MB)"
    printf "%-14s %9.2f %12.1f %12.1f\n", "maptool", ot, om / 1024, of / 1048576
    printf "%-14s %9.2f %12.1f %12.1f\n", "tmxrasterizer", tt, tm / 1024, tf / 1048576
    printf "maptool: %.1fx as fast, 1/%.0f of the memory (goals: 5x, 1/20, under 100 MB)\n", tt / ot, tm / om
}'
