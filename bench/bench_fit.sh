#!/usr/bin/env bash
# Times `letterloom-cli fit --suggest` over PARAGRAPHS generated paragraphs
# of a 300 x 80 text area in the sample font (line spacing 10), side by side
# with plain `fit` over the same paragraphs (one layout each), and prints
# paragraphs a second. The aim: at least 2,000 a second with --suggest.
#
#   bench/bench_fit.sh [BUILD_DIR] [PARAGRAPHS]      (defaults: build, 10000)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
paragraphs=${2:-10000}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! cmake --build "$build" --target letterloom-cli bench_fit examples >"$work/build.log" 2>&1; then
    cat "$work/build.log" >&2
    exit 1
fi
export QT_QPA_PLATFORM=offscreen
"$build/bench/bench_fit" setup "$work" "$build/sample.llf" "$paragraphs"

# Milliseconds of one run; exit status 3 (a paragraph fits no setting) is
# what these texts give and counts as a run.
seconds() {
    local start end status=0
    start=$(date +%s%N)
    "$@" >/dev/null 2>"$work/err" || status=$?
    end=$(date +%s%N)
    if [ "$status" -ne 0 ] && [ "$status" -ne 3 ]; then
        cat "$work/err" >&2
        exit 1
    fi
    echo "$(((end - start) / 1000000))"
}
median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
timed() {
    local times="" i
    for ((i = 0; i < 5; i++)); do
        times+="$(seconds "$build/letterloom-cli" fit "$work/fit.llp" --text "$work/texts.txt" "$@") "
    done
    median "$times"
}
plain=$(timed)
suggest=$(timed --suggest)
json=$(timed --suggest --json)
"$build/letterloom-cli" fit "$work/fit.llp" --text "$work/texts.txt" --suggest >/dev/null 2>"$work/err" || true
awk -v n="$paragraphs" -v p="$plain" -v s="$suggest" -v j="$json" -v summary="$(cat "$work/err")" 'BEGIN {
    printf "%d paragraphs of 8 to 80 words, a 300 x 80 area, line spacing 10 (medians of 5 runs, whole process)\n", n
    printf "  %s\n", summary
    printf "  fit (one layout each)      %7.0f ms   %8.0f paragraphs/s\n", p, n * 1000 / p
    printf "  fit --suggest              %7.0f ms   %8.0f paragraphs/s\n", s, n * 1000 / s
    printf "  fit --suggest --json       %7.0f ms   %8.0f paragraphs/s\n", j, n * 1000 / j
}'
