#!/usr/bin/env bash
# Times `letterloom-cli batch` of ROWS rows (one 320 x 240 picture each, a
# speech bubble's text in the sample font) with -j 1 and -j 2, side by side
# with ROWS separate `letterloom-cli render` processes drawing the same
# pictures, and checks that both wrote the same bytes.
#
#   bench/bench_batch.sh [BUILD_DIR] [ROWS]      (defaults: build, 1000)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
rows=${2:-1000}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! cmake --build "$build" --target letterloom-cli bench_batch examples >"$work/build.log" 2>&1; then
    cat "$work/build.log" >&2
    exit 1
fi
export QT_QPA_PLATFORM=offscreen
"$build/bench/bench_batch" setup "$work" "$build/sample.llf" "$rows"

seconds() {
    local start end
    start=$(date +%s%N)
    "$@"
    end=$(date +%s%N)
    echo "$(((end - start) / 1000000))"
}

# The median of five runs of batch (its figures move with the disk's load).
median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
batch() {
    local times="" i
    for ((i = 0; i < 5; i++)); do
        times+="$(seconds "$build/letterloom-cli" batch "$work/jobs.csv" -j "$1") "
    done
    median "$times"
}
batch1=$(batch 1)
batch2=$(batch 2)
mkdir "$work/single"
separate() {
    for ((row = 1; row <= rows; row++)); do
        name=$(printf %04d "$row")
        "$build/letterloom-cli" render "$work/batch.llp" --text "$work/texts/$name.txt" \
            -o "$work/single/$name.bmp" 2>/dev/null || true
    done
}
separate_ms=$(seconds separate)

written=$(find "$work/out" -name '*.bmp' | wc -l)
if diff -rq "$work/out" "$work/single" >/dev/null; then same=yes; else same=NO; fi
echo "batch and render pictures identical: $same"
awk -v rows="$rows" -v b1="$batch1" -v b2="$batch2" -v s="$separate_ms" -v w="$written" 'BEGIN {
    printf "%d rows, 320 x 240, %d pictures written by batch\n", rows, w
    printf "medians of 5 runs of batch, 1 run of the separate processes:\n"
    printf "  batch -j 1               %8.0f ms   %7.0f renders/s\n", b1, rows * 1000 / b1
    printf "  batch -j 2               %8.0f ms   %7.0f renders/s\n", b2, rows * 1000 / b2
    printf "  %d render processes    %8.0f ms   %7.0f renders/s   (separate / batch -j 2 = %.1f)\n", rows, s, rows * 1000 / s, s / b2
}'
