#!/usr/bin/env bash
# Soak test of the desktop program: random clicks, drags, double clicks, keys
# and shortcuts into every window it shows, for a given time, under Xvfb with
# a window manager. Not part of `make test`.
#
#   tools/soak.sh [BUILD_DIR] [MINUTES] [DISPLAY_NUMBER]
#
# The program runs from a copy of its program directory (installed into a
# temporary prefix) with a temporary HOME, opened on its sample project, under
# gdb so that a crash leaves a backtrace. When it exits (a random Quit, or a
# crash) it is started again. Every 10 seconds the resident memory of the
# running program is sampled. At the end the script prints a summary; the
# backtraces and the samples are kept in the work folder it names.
#
# Run as root, the program itself runs as the user nobody, so random clicks in
# a file dialog can touch nothing but the temporary folders.
#
# Needs: xvfb openbox xdotool gdb (Debian packages). Exits 1 if the program
# crashed.
set -uo pipefail

build_dir=$(realpath "${1:-build}")
minutes=${2:-30}
display=":${3:-97}"
sample_every=10

for tool in Xvfb openbox xdotool gdb; do
    command -v "$tool" >/dev/null || { echo "soak: $tool is missing" >&2; exit 2; }
done
[ -x "$build_dir/letterloom" ] || { echo "soak: no program in $build_dir (run make first)" >&2; exit 2; }

work=$(mktemp -d /tmp/letterloom-soak.XXXXXX)
chmod 755 "$work"
prefix=$work/prefix
home=$work/home
mkdir -p "$home"
cmake --install "$build_dir" --prefix "$prefix" >/dev/null || { echo "soak: install failed" >&2; exit 2; }
program_dir=$prefix/lib/letterloom

run_as=()
if [ "$(id -u)" = 0 ]; then
    chown -R nobody:nogroup "$home"
    run_as=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi

pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    [ -n "${gdb_pid:-}" ] && kill "$gdb_pid" 2>/dev/null
    pkill -u nobody -f "$program_dir/letterloom" 2>/dev/null
    wait 2>/dev/null
}
trap cleanup EXIT

if [ -e "/tmp/.X${display#:}-lock" ]; then
    echo "soak: display $display is in use; give another number" >&2
    exit 2
fi
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp -ac >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
pids+=($xvfb_pid)
sleep 1
DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1 || { echo "soak: Xvfb did not start" >&2; exit 2; }
DISPLAY=$display openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1
export DISPLAY=$display

# Keys the soak types: letters, digits, editing and navigation keys, the
# program's shortcuts and those of the text editors (paste from an empty
# clipboard among them). No "/" or "~", so a file dialog stays in HOME.
keys=(a b c x y z 0 1 9 space Return Escape Escape Tab BackSpace Delete
      Left Right Up Down Home End Page_Up Page_Down F1 F9
      ctrl+z ctrl+y ctrl+shift+z ctrl+a ctrl+c ctrl+x ctrl+v shift+Insert
      ctrl+n ctrl+o ctrl+s ctrl+plus ctrl+minus ctrl+0 ctrl+Left ctrl+Right
      ctrl+Up ctrl+Down shift+Left shift+Right alt+f alt+e alt+w alt+p)

runs=0 crashes=0 actions=0
samples=$work/memory.csv
echo "seconds,run,rss_kib" >"$samples"
start=$(date +%s)
deadline=$((start + minutes * 60))

start_program() {
    runs=$((runs + 1))
    log=$work/run-$runs.log
    (cd "$home" && exec env HOME="$home" XDG_RUNTIME_DIR="$home" \
        "${run_as[@]}" gdb -q -batch -nx \
        -ex "set pagination off" -ex run -ex "thread apply all bt" \
        --args "$program_dir/letterloom" "$program_dir/sample.llp") >"$log" 2>&1 &
    gdb_pid=$!
    program_pid=""
    for _ in $(seq 50); do
        program_pid=$(pgrep -P "$gdb_pid" -f "$program_dir/letterloom" | head -1)
        [ -n "$program_pid" ] && xdotool search --onlyvisible --pid "$program_pid" >/dev/null 2>&1 && break
        sleep 0.2
    done
}

finish_run() {
    wait "$gdb_pid" 2>/dev/null
    if grep -q "received signal" "$log"; then
        crashes=$((crashes + 1))
        echo "soak: run $runs crashed; backtrace in $log" >&2
        sed -n '/received signal/,$p' "$log" | head -40 >&2
    fi
}

random_action() {
    local windows window geometry x y w h px py
    mapfile -t windows < <(xdotool search --onlyvisible --pid "$program_pid" 2>/dev/null)
    [ ${#windows[@]} -gt 0 ] || return
    window=${windows[RANDOM % ${#windows[@]}]}
    geometry=$(xdotool getwindowgeometry --shell "$window" 2>/dev/null) || return
    eval "$geometry"
    x=$X y=$Y w=$WIDTH h=$HEIGHT
    [ "$w" -gt 2 ] && [ "$h" -gt 2 ] || return
    px=$((x + RANDOM % w)) py=$((y + RANDOM % h))
    xdotool windowactivate "$window" >/dev/null 2>&1
    case $((RANDOM % 10)) in
        0|1|2) xdotool mousemove "$px" "$py" click $((RANDOM % 3 + 1)) ;;
        3) xdotool mousemove "$px" "$py" click --repeat 2 1 ;;
        4) xdotool mousemove "$px" "$py" keydown ctrl mousedown 1 \
               mousemove $((x + RANDOM % w)) $((y + RANDOM % h)) mouseup 1 keyup ctrl ;;
        5) xdotool mousemove "$px" "$py" mousedown 1 \
               mousemove $((x + RANDOM % w)) $((y + RANDOM % h)) mouseup 1 ;;
        6) xdotool mousemove "$px" "$py" click $((RANDOM % 2 + 4)) ;;
        *) xdotool key --clearmodifiers "${keys[RANDOM % ${#keys[@]}]}" ;;
    esac
    actions=$((actions + 1))
}

echo "soak: $minutes minutes on display $display, work folder $work"
start_program
next_sample=$start
while [ "$(date +%s)" -lt "$deadline" ]; do
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "soak: Xvfb went away" >&2; exit 2; }
    if ! kill -0 "$gdb_pid" 2>/dev/null || [ -z "$program_pid" ] || ! kill -0 "$program_pid" 2>/dev/null; then
        finish_run
        start_program
        continue
    fi
    now=$(date +%s)
    if [ "$now" -ge "$next_sample" ]; then
        rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$program_pid/status" 2>/dev/null)
        [ -n "$rss" ] && echo "$((now - start)),$runs,$rss" >>"$samples"
        next_sample=$((now + sample_every))
    fi
    random_action
    sleep 0.05
done
kill "$gdb_pid" 2>/dev/null
pkill -P "$gdb_pid" 2>/dev/null
wait "$gdb_pid" 2>/dev/null

# Memory per run: the first sample, the largest and the last.
summary=$(awk -F, 'NR > 1 {
        if (!($2 in first)) { first[$2] = $3; order[++n] = $2 }
        if ($3 > peak[$2]) peak[$2] = $3
        last[$2] = $3; count[$2]++
    }
    END {
        for (i = 1; i <= n; i++) { r = order[i]
            printf "  run %d: %d samples, first %d MiB, peak %d MiB, last %d MiB\n",
                   r, count[r], first[r] / 1024, peak[r] / 1024, last[r] / 1024 }
    }' "$samples")
echo "soak: $minutes minutes, $actions actions, $runs runs, $crashes crashes"
echo "$summary"
echo "soak: samples in $samples"
[ "$crashes" -eq 0 ]
