#!/usr/bin/env bash
# Times `letterloom-cli render` on a 1920 x 1080 project with 20 000 words,
# side by side with the same drawing done with Pillow and with a program that
# only reads the project file and writes its picture as a BMP file (the
# floor), and with a command that only starts and reads a small font. Runs
# them in turn N times and prints the medians and the ratios.
#
#   bench/bench_render.sh [BUILD_DIR] [N]      (defaults: build, 11)
#
# With BEFORE=OTHER/letterloom-cli, that program's render of the same project
# is timed in the same loop too, for a before and after.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${2:-11}
python=${PYTHON:-/usr/bin/python3}   # Debian's, where python3-pil installs Pillow
colour=1E3A5F

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! cmake --build "$build" --target letterloom-cli bench_render >"$work/build.log" 2>&1; then
    cat "$work/build.log" >&2
    exit 1
fi

"$build/bench/bench_render" project "$work"

cli() { "$build/letterloom-cli" render "$work/bench.llp" -o "$work/cli.bmp" --color "$colour"; }
pillow() { "$python" "$here/bench_render_pillow.py" "$work/bench.llp" "$work/bench.llf" "$colour" "$work/pillow.bmp"; }
floor() { "$build/bench/bench_render" floor "$work/bench.llp" "$work/floor.bmp"; }
# What any command costs before it does its work: starting, and reading the small font.
startup() { "$build/letterloom-cli" font info "$work/bench.llf" >/dev/null; }

# Milliseconds of one run of a command.
milliseconds() {
    local start end
    start=$(date +%s%N)
    "$@"
    end=$(date +%s%N)
    echo $(((end - start) / 1000))
}

before() { "$BEFORE" render "$work/bench.llp" -o "$work/before.bmp" --color "$colour"; }
names="cli pillow floor startup${BEFORE:+ before}"

declare -A times
for ((i = 0; i < runs; i++)); do
    for name in $names; do
        times[$name]+="$(milliseconds $name) "
    done
done

median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

"$python" - "$work/cli.bmp" "$work/pillow.bmp" <<'PY'
import sys
from PIL import Image, ImageChops
a, b = (Image.open(p).convert('RGB') for p in sys.argv[1:3])
same = a.size == b.size and ImageChops.difference(a, b).getbbox() is None
print('letterloom-cli and Pillow pictures identical:', 'yes' if same else 'NO')
PY

cli_us=$(median "${times[cli]}")
pillow_us=$(median "${times[pillow]}")
floor_us=$(median "${times[floor]}")
startup_us=$(median "${times[startup]}")
awk -v runs="$runs" -v c="$cli_us" -v p="$pillow_us" -v k="$floor_us" -v s="$startup_us" 'BEGIN {
    printf "medians of %d runs (1920 x 1080, 20000 words):\n", runs
    printf "  letterloom-cli render   %8.1f ms\n", c / 1000
    printf "  Pillow script           %8.1f ms   (cli / pillow = %.2f)\n", p / 1000, c / p
    printf "  project read, BMP write %8.1f ms   (cli / floor  = %.2f, floor / pillow = %.2f)\n", k / 1000, c / k, k / p
    printf "  start-up (font info)    %8.1f ms   (start-up / pillow = %.2f)\n", s / 1000, s / p
}'
if [[ -n ${BEFORE:-} ]]; then
    before_us=$(median "${times[before]}")
    cmp -s "$work/cli.bmp" "$work/before.bmp" && same=yes || same=NO
    awk -v c="$cli_us" -v b="$before_us" -v s="$same" 'BEGIN {
        printf "  before: render          %8.1f ms   (cli / before = %.2f, pictures identical: %s)\n", b / 1000, c / b, s
    }'
fi
