#!/usr/bin/env bash
# Renders N generated projects (bench_compare.cpp: random fonts, pictures,
# texts, text areas, alignments, colours and effects) with two letterloom-cli
# programs and compares their exit status, messages and written pictures
# byte for byte. Prints each project that differs and a count; fails when
# any differs.
#
#   bench/bench_compare.sh OLD_CLI [BUILD_DIR] [N] [SEED]   (defaults: build, 400, 1)
#
# OLD_CLI is a letterloom-cli built from the code to compare against;
# BUILD_DIR's letterloom-cli is the new one.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
old=$(realpath "$1")
build=$(cd "${2:-$here/../build}" && pwd)
count=${3:-400}
seed=${4:-1}
new=$build/letterloom-cli

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! cmake --build "$build" --target letterloom-cli bench_compare >"$work/build.log" 2>&1; then
    cat "$work/build.log" >&2
    exit 1
fi
mkdir "$work/p"
"$build/bench/bench_compare" projects "$work/p" "$count" "$seed"

run() {  # run CLI PROJECT OUT OPTIONS...: status and messages on stdout
    local cli=$1 project=$2 out=$3
    shift 3
    local status=0
    "$cli" render "$project" -o "$out" "$@" >"$out.stdout" 2>"$out.stderr" || status=$?
    echo "$status"
}

same=0 differ=0 failed=0 pixels=0
for project in "$work"/p/*.llp; do
    name=$(basename "$project" .llp)
    mapfile -t options <"$work/p/$name.args"
    extension=${options[-1]}
    unset 'options[-1]'
    a=$(run "$old" "$project" "$work/old.$extension" "${options[@]}")
    b=$(run "$new" "$project" "$work/new.$extension" "${options[@]}")
    # The messages name the output file; compare them with the names made alike.
    sed -i "s/new\.$extension/old.$extension/g" "$work/new.$extension.stderr" "$work/new.$extension.stdout"
    if [[ $a == "$b" ]] && cmp -s "$work/old.$extension.stdout" "$work/new.$extension.stdout" \
        && cmp -s "$work/old.$extension.stderr" "$work/new.$extension.stderr" \
        && { [[ ! -e $work/old.$extension && ! -e $work/new.$extension ]] \
             || cmp -s "$work/old.$extension" "$work/new.$extension"; }; then
        same=$((same + 1))
        [[ $a == 0 || $a == 3 ]] && pixels=$((pixels + 1))
        [[ $a == 0 || $a == 3 ]] || failed=$((failed + 1))
    else
        differ=$((differ + 1))
        echo "DIFFERS: $name (${options[*]} -> .$extension): status $a / $b" >&2
    fi
    rm -f "$work"/old.* "$work"/new.*
done
echo "rendered $count projects (seed $seed) with both programs:"
echo "  identical status, messages and bytes: $same ($pixels wrote a picture, $failed refused alike)"
echo "  different: $differ"
[[ $differ == 0 ]]
