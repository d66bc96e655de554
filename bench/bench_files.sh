#!/usr/bin/env bash
# Side by side in one run: letterloom-cli's start-up (font info on a small
# font) against a program linked to the same libraries that only starts
# (bench_startup), font convert of a 10 MB font against cp of the file and
# against cp followed by a sync of the copy (convert syncs every file it
# writes before it replaces the old one), and the peak memory of render,
# layout --json and fit on large texts and of reading a BDF font with a 20 MB
# line. Medians of N runs.
#
#   bench/bench_files.sh [BUILD_DIR] [N]      (defaults: build, 9)
#
# With BEFORE=OTHER/letterloom-cli the same loop also times that program's
# font info and font convert, and says whether both wrote the same bytes and
# printed the same listing: a before and after in one run.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${2:-9}
cli=$build/letterloom-cli

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! cmake --build "$build" --target letterloom-cli bench_files bench_startup >"$work/build.log" 2>&1; then
    cat "$work/build.log" >&2
    exit 1
fi
"$build/bench/bench_files" font
"$build/bench/bench_files" linetable
"$build/bench/bench_files" files "$work"

info() { "$cli" font info "$work/small.llf" >/dev/null; }
minimal() { "$build/bench/bench_startup"; }
convert() { "$cli" font convert "$work/big.llf" "$work/out.llf" >/dev/null; }
copy() { cp "$work/big.llf" "$work/copy.llf"; }
copysync() { cp "$work/big.llf" "$work/synced.llf" && sync "$work/synced.llf"; }
before=${BEFORE:-}
beforeinfo() { "$before" font info "$work/small.llf" >/dev/null; }
beforeconvert() { "$before" font convert "$work/big.llf" "$work/before.llf" >/dev/null; }
names="info minimal convert copy copysync"
[ -n "$before" ] && names+=" beforeinfo beforeconvert"

microseconds() {
    local start end
    start=$(date +%s%N)
    "$@"
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}
median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

declare -A times
for ((i = 0; i < runs; i++)); do
    for name in $names; do
        times[$name]+="$(microseconds $name) "
    done
done
cmp -s "$work/big.llf" "$work/out.llf" || echo "font convert changed the font's bytes" >&2
awk -v runs="$runs" -v i="$(median "${times[info]}")" -v m="$(median "${times[minimal]}")" \
    -v c="$(median "${times[convert]}")" -v k="$(median "${times[copy]}")" \
    -v s="$(median "${times[copysync]}")" 'BEGIN {
    printf "medians of %d runs:\n", runs
    printf "  letterloom-cli font info (small font) %7.1f ms\n", i / 1000
    printf "  a program that only starts            %7.1f ms   (info / start = %.2f)\n", m / 1000, i / m
    printf "  font convert of the 10 MB font        %7.1f ms\n", c / 1000
    printf "  cp of the same file                   %7.1f ms   (convert / cp = %.2f)\n", k / 1000, c / k
    printf "  cp and sync of the copy               %7.1f ms   (convert / cp and sync = %.2f)\n", s / 1000, c / s
}'
if [ -n "$before" ]; then
    same=yes
    cmp -s "$work/before.llf" "$work/out.llf" || same=no
    cmp -s <("$before" font info "$work/small.llf" 2>&1; echo $?) <("$cli" font info "$work/small.llf" 2>&1; echo $?) \
        || same=no
    awk -v i="$(median "${times[info]}")" -v c="$(median "${times[convert]}")" \
        -v bi="$(median "${times[beforeinfo]}")" -v bc="$(median "${times[beforeconvert]}")" -v same="$same" 'BEGIN {
        printf "  before: font info                     %7.1f ms   (info / before = %.2f)\n", bi / 1000, i / bi
        printf "  before: font convert                  %7.1f ms   (convert / before = %.2f, same bytes: %s)\n",
            bc / 1000, c / bc, same
    }'
fi

# Peak resident memory in MB of a command (its exit status is not looked at).
peak() { /usr/bin/time -f %M -o "$work/peak" "$@" >/dev/null 2>&1 || true; awk '{printf "%.0f", $1 / 1024}' "$work/peak"; }
echo "peak memory:"
echo "  render, 20 MB of one-letter lines       $(peak "$cli" render "$work/lines.llp" --text-bytes "$work/lines.txt" -o "$work/o.bmp") MB"
echo "  layout --json, the same text            $(peak "$cli" layout "$work/lines.llp" --text-bytes "$work/lines.txt" --json) MB"
echo "  fit, 100 MB of line breaks              $(peak "$cli" fit "$work/lines.llp" --text-bytes "$work/breaks.txt") MB"
echo "  font info, BDF with a 20 MB line        $(peak "$cli" font info "$work/long.bdf") MB"
echo "  font info, BDF name of 10 M words      $(peak "$cli" font info "$work/words.bdf") MB"
echo "  font info, small font (the floor)       $(peak "$cli" font info "$work/small.llf") MB"
