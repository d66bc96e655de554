#!/usr/bin/env bash
# Runs every fuzz target (or the ones named) of a fuzz build for a number of
# seconds each, one after the other:
#
#   fuzz/run_fuzzers.sh BUILD_DIR SECONDS [TARGET...]     TARGET: font_file, bmp, ...
#
# Each target grows its corpus in BUILD_DIR/fuzz/corpus/TARGET from the seeds
# the build wrote; an input that breaks something is kept as
# BUILD_DIR/fuzz/artifacts/TARGET-crash-... (or -leak-, -timeout-, -oom-) and
# the script fails. At the end it prints the executions each target ran and,
# once more, what each failed target found.
set -euo pipefail

if [ $# -lt 2 ]; then
  echo "usage: $0 BUILD_DIR SECONDS [TARGET...]" >&2
  exit 2
fi
build_dir=$(cd "$1" && pwd)
seconds=$2
shift 2
fuzz_dir="$build_dir/fuzz"
source_dir=$(cd "$(dirname "$0")" && pwd)
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(font_file project_file extension_block bmp text_layout bdf_font bmfont psf_font grid_import char_table csv)
fi

# Only leaks inside system libraries are suppressed (see the file).
export LSAN_OPTIONS="suppressions=$source_dir/lsan.supp"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export QT_QPA_PLATFORM=offscreen

mkdir -p "$fuzz_dir/artifacts"
summary=""
findings=""
failures=0
for target in "${targets[@]}"; do
  max_len=8192
  [ "$target" = font_file ] && max_len=32768   # the sample font is 23 KB
  corpus="$fuzz_dir/corpus/$target"
  mkdir -p "$corpus"
  # The timeout leaves room for the largest pictures on a busy machine; a
  # real hang still ends the run.
  options=(-max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 -max_len="$max_len"
           -print_final_stats=1 -artifact_prefix="$fuzz_dir/artifacts/$target-")
  [ -f "$source_dir/dict/$target.dict" ] && options+=(-dict="$source_dir/dict/$target.dict")
  log="$fuzz_dir/$target.log"
  echo "== fuzz_$target for $seconds s"
  if "$fuzz_dir/fuzz_$target" "${options[@]}" "$corpus" "$fuzz_dir/seeds/$target" >"$log" 2>&1; then
    result=ok
  else
    result=FAILED
    failures=$((failures + 1))
    finding=$(grep -E "ERROR|Broken|runtime error|SUMMARY|Test unit written" "$log" | head -20 || true)
    # A small input is printed too, so that a log alone can reproduce it
    # (base64 -d > FILE; BUILD_DIR/fuzz/fuzz_TARGET FILE).
    input=$(ls -t "$fuzz_dir/artifacts/$target-"* 2>/dev/null | head -1 || true)
    if [ -n "$input" ] && [ "$(stat -c %s "$input")" -le 1024 ]; then
      finding+=$'\n'"input, base64: $(base64 -w0 "$input")"
    fi
    echo "$finding"
    findings+="-- $target:"$'\n'"$finding"$'\n'
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  summary+=$(printf '%-14s %12s executions  %s' "$target" "${runs:-?}" "$result")$'\n'
done
echo "== fuzzing summary (logs in $fuzz_dir)"
printf '%s' "$summary"
# What each failed target found, again at the end, where a log's tail shows it.
if [ -n "$findings" ]; then
  printf '== findings\n%s' "$findings"
fi
echo "fuzz: $((${#targets[@]} - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
