#!/usr/bin/env bash
# Builds the fuzz targets and runs each for a while: scripts/fuzz.sh [seconds-per-target] [target...]
#
# The targets (clang, libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) are built in
# build-fuzz; the list of targets with their seed folders comes from the build (fuzz/CMakeLists.txt).
# Prints per target the executions, the corpus size and whether anything was found. A finding
# (crash, leak, timeout, out of memory) is kept under tests/data/fuzz-regressions/<target>/,
# where the test suite replays it from then on, and makes the command fail. The working corpora
# grow in fuzz-work/ (not committed); runs start from them, the seeds and the regressions.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-60}
shift || true
wanted=("$@")

scripts/deps.sh
launcher=()
if command -v ccache >/dev/null 2>&1; then
    export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DMAPEDITOR_FUZZ=ON -DMAPEDITOR_SANITIZE=ON -DMAPEDITOR_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build build-fuzz --target fuzzers -j "$(nproc)"

work=$root/fuzz-work
mkdir -p "$work"
# Scratch files of the targets; on a RAM disk when there is one.
scratch=$(mktemp -d -p /dev/shm mapeditor-fuzz.XXXXXX 2>/dev/null || mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The allocator keeps freed memory instead of handing it back to the OS every few seconds: on a
# busy virtual machine that madvise call was seen to stall for over ten seconds, which libFuzzer
# reports as a timeout of whatever input was running.
export ASAN_OPTIONS=detect_leaks=1:allocator_release_to_os_interval_ms=-1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
unset LSAN_OPTIONS

# Memory limits of every target: an input that makes a reader take more than 2 GB in all or
# 512 MB in one allocation is a finding (out of memory). A target's own options come after them
# and may set stricter ones.
memory=(-rss_limit_mb=2048 -malloc_limit_mb=512)

failed=0
ran=0
while IFS=$'\t' read -r name seeds options; do
    [ -n "$name" ] || continue
    if [ ${#wanted[@]} -gt 0 ] && ! printf '%s\n' "${wanted[@]}" | grep -qxF "$name"; then
        continue
    fi
    ran=$((ran + 1))
    corpus=$work/corpus/$name
    findings=$work/findings/$name
    regressions=$root/tests/data/fuzz-regressions/$name
    log=$work/$name.log
    mkdir -p "$corpus"
    rm -rf "$findings"
    mkdir -p "$findings"
    # New inputs go to the first folder; the others are only read.
    folders=("$corpus")
    IFS=';' read -ra seedFolders <<<"$seeds"
    for folder in "${seedFolders[@]}" "$regressions"; do
        [ -d "$folder" ] && folders+=("$folder")
    done
    set +e
    # shellcheck disable=SC2086  # the options are separate words
    TMPDIR=$scratch nice -n 10 "build-fuzz/fuzz/fuzz_$name" -max_total_time="$seconds" \
        -timeout=10 -print_final_stats=1 -artifact_prefix="$findings/" "${memory[@]}" \
        $options "${folders[@]}" >"$log" 2>&1
    rc=$?
    set -e

    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    [ -n "$executions" ] || executions=$(grep -o '^#[0-9]*' "$log" | tail -1 | tr -d '#')
    inputs=$(grep -o 'corp: [0-9]*/[0-9A-Za-z]*' "$log" | tail -1 | sed 's/corp: //')
    saved=$(find "$corpus" -type f | wc -l)
    mapfile -t found < <(find "$findings" -type f \( -name 'crash-*' -o -name 'leak-*' \
        -o -name 'timeout-*' -o -name 'oom-*' \) | sort)

    if [ ${#found[@]} -gt 0 ]; then
        mkdir -p "$regressions"
        cp "${found[@]}" "$regressions/"
        echo "$name: ${executions:-?} executions, corpus ${inputs:-?} (inputs/bytes), FOUND ${#found[@]}:"
        for f in "${found[@]}"; do echo "  tests/data/fuzz-regressions/$name/$(basename "$f")"; done
        grep -E -A 25 '^==[0-9]+==ERROR|check failed|runtime error|ERROR: libFuzzer' "$log" | head -40
        echo "  (whole log: $log)"
        failed=1
    elif [ "$rc" -ne 0 ]; then
        echo "$name: the fuzzer stopped with exit code $rc and left no input; its log:"
        tail -30 "$log"
        failed=1
    else
        echo "$name: ${executions:-?} executions, corpus ${inputs:-?} (inputs/bytes," \
            "$saved new in fuzz-work), nothing found"
    fi
done <build-fuzz/fuzz/fuzz_targets.txt

if [ "$ran" -eq 0 ]; then
    echo "no fuzz target matched: ${wanted[*]}"
    exit 1
fi
exit "$failed"
