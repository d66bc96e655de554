#!/usr/bin/env bash
# The memory and time of every file reader of letterloom-cli on inputs made to
# be its worst cases (bench/reader_inputs.py), at two sizes: the peak resident
# memory of the whole process beyond that of reading a small font (the
# floor), in bytes for every byte of the file, and the time at SIZE and at
# twice SIZE (a ratio near 2 is linear).
#
#   bench/bench_readers.sh [BUILD_DIR] [SIZE_MB] [CASE...]   (defaults: build, 20, all)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
size=${2:-20}
shift $(($# > 2 ? 2 : $#))
cli=$build/letterloom-cli

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! cmake --build "$build" --target letterloom-cli >"$work/build.log" 2>&1; then
    cat "$work/build.log" >&2
    exit 1
fi
mkdir "$work/1" "$work/2"
python3 "$here/reader_inputs.py" "$work/1" "$size" "$@"
python3 "$here/reader_inputs.py" "$work/2" "$(awk -v s="$size" 'BEGIN {print 2 * s}')" "$@"
printf 'a' >"$work/tiny.txt"

# The command that reads a file of each kind, and nothing much else.
command_for() {
    local dir=$1 name=$2
    case $name in
    *.llp) echo layout "$dir/$name" --area 1 --text-bytes "$work/tiny.txt" --json ;;
    *.txt) echo fit "$dir/small.llp" --text "$dir/$name" ;;
    *.csv) echo texts import "$dir/small.llp" "$dir/$name" -o "$dir/out.llp" ;;
    *.bmp | *.png) echo font import-grid "$dir/$name" --cell 8x8 -o "$dir/out.llf" ;;
    *) echo font info "$dir/$name" ;;
    esac
}

# "KB SECONDS STATUS" of one run.
measure() {
    local status=0
    /usr/bin/time -f '%M %e' -o "$work/time" "$cli" "$@" >/dev/null 2>"$work/err" || status=$?
    echo "$(tail -1 "$work/time") $status"
}

floor=$(measure font info "$work/1/small.llf" | cut -d' ' -f1)
printf 'floor (font info of a small font): %d MB\n' $((floor / 1024))
printf '%-15s %8s %8s %9s %9s %8s %8s %7s %s\n' input "file MB" "peak MB" "B/byte" "2x B/byte" "s" "2x s" "ratio" status
names=("$@")
if ((${#names[@]} == 0)); then
    names=(keys.fnt value.fnt pagename.fnt chars.fnt pages.fnt glyphs.psf entry.psf packed.psf.gz numbers.llf
           lists.llf text.llp dropped.llp areas.llp numbers.llp fields.csv short.csv rows.csv field.csv header.csv
           utf8.txt rgb.bmp indexed.bmp noise.png)
fi
for name in "${names[@]}"; do
    read -r kb1 s1 status1 <<<"$(measure $(command_for "$work/1" "$name"))"
    read -r kb2 s2 status2 <<<"$(measure $(command_for "$work/2" "$name"))"
    bytes1=$(stat -c %s "$work/1/$name")
    bytes2=$(stat -c %s "$work/2/$name")
    awk -v n="$name" -v b1="$bytes1" -v b2="$bytes2" -v k1="$kb1" -v k2="$kb2" -v f="$floor" -v s1="$s1" -v s2="$s2" \
        -v st="$status1/$status2" 'BEGIN {
        printf "%-15s %8.1f %8.0f %9.2f %9.2f %8.2f %8.2f %7.2f %s\n", n, b1 / 1e6, k1 / 1024,
               (k1 - f) * 1024 / b1, (k2 - f) * 1024 / b2, s1, s2, (s1 > 0 ? s2 / s1 : 0), st
    }'
done
