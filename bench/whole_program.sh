#!/usr/bin/env bash
# The whole renderer against the floor program, each at 1024 x 768 on the same
# virtual X server, one after the other: frames per second (counted from the
# programs' own buffer swaps), CPU seconds per second of the program and of
# the X server, peak memory, and the time from process start to the first
# swapped frame. A measurement, not a test.
#   bench/whole_program.sh [SECONDS] [BUILD_DIR]
# SECONDS (default 20) is the measured window of each program. Environment:
#   KESTRUNE_BENCH_SETTLE  seconds between the renderer's first swap and its window
#                          (default 2; 80 measures the show from t = 0.8 on, the
#                          64-body figure); the floor has no timeline and always
#                          settles for 2 s
#   KESTRUNE_BENCH_ROUNDS  times to run the pair, alternating (default 1)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
build=${2:-build/release}
settle=${KESTRUNE_BENCH_SETTLE:-2}
rounds=${KESTRUNE_BENCH_ROUNDS:-1}
for file in bin/Kestrune.dll bin/kestrune-floor bin/kestrune-tool lib/libkestrune_swap_counter.so; do
    if [[ ! -e "$build/$file" ]]; then
        echo "missing $build/$file; build the targets kestrune_renderer kestrune_floor" \
            "kestrune_tool kestrune_swap_counter first" >&2
        exit 1
    fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The texture folder is the renderer's own ($XDG_CACHE_HOME/r_vosk), filled
# with the saver's real pictures; the floor reads its quad's texture there too.
mkdir -p "$work/cache/r_vosk"
"$build/bin/kestrune-tool" pictures "$work/cache/r_vosk" >/dev/null

export build seconds settle rounds work
export SDL_VIDEODRIVER=x11 XDG_CACHE_HOME="$work/cache"
export SDL_OPENGL_LIBRARY="$PWD/$build/lib/libkestrune_swap_counter.so"
# Nothing asks for sound; keep SDL away from any device.
export SDL_AUDIODRIVER=dummy

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) cores)"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -euo pipefail
    hz=$(getconf CLK_TCK)

    # utime + stime of a process in clock ticks (fields 14 and 15; the
    # command name in brackets may hold spaces, so count after it).
    cpu_ticks() { sed "s/.*) //" "/proc/$1/stat" | awk "{ print \$12 + \$13 }"; }
    swaps_now() { cut -d" " -f1 "$1"; }
    # Busy clock ticks of the whole machine (all but idle and iowait), to
    # tell how much else ran during a window.
    machine_ticks() { awk "/^cpu / { print \$2 + \$3 + \$4 + \$7 + \$8 + \$9 }" /proc/stat; }

    xvfb=$(pgrep -n -f "^Xvfb $DISPLAY " || true)

    # measure NAME PROGRAM SETTLE: appends "NAME fps cpu xcpu hwm_kib startup_ms" to
    # $work/results.
    measure() {
        local name=$1 program=$2 pause=$3 swaps="$work/$1.swaps"
        rm -f "$swaps"
        export KESTRUNE_SWAP_COUNT_FILE="$swaps"
        local start_ns
        start_ns=$(date +%s%N)
        "$program" &
        local pid=$! i
        for ((i = 0; i < 600; i++)); do
            [[ -s "$swaps" ]] && break
            kill -0 "$pid" 2>/dev/null || { echo "$name ended before its first frame" >&2; return 1; }
            sleep 0.02
        done
        [[ -s "$swaps" ]] || { echo "$name drew no frame in 12 s" >&2; kill "$pid"; return 1; }
        local first_ns
        first_ns=$(cut -d" " -f2 "$swaps")
        sleep "$pause"

        local c0 t0 p0 x0 m0 c1 t1 p1 x1 m1 hwm
        m0=$(machine_ticks)
        c0=$(swaps_now "$swaps"); t0=$(date +%s%N); p0=$(cpu_ticks "$pid")
        x0=$([[ -n "$xvfb" ]] && cpu_ticks "$xvfb" || echo 0)
        sleep "$seconds"
        c1=$(swaps_now "$swaps"); t1=$(date +%s%N); p1=$(cpu_ticks "$pid")
        m1=$(machine_ticks)
        x1=$([[ -n "$xvfb" ]] && cpu_ticks "$xvfb" || echo 0)
        hwm=$(awk "/^VmHWM:/ { print \$2 }" "/proc/$pid/status")
        kill -TERM "$pid"
        wait "$pid" 2>/dev/null || true

        awk -v n="$name" -v c0="$c0" -v c1="$c1" -v t0="$t0" -v t1="$t1" -v p0="$p0" \
            -v p1="$p1" -v x0="$x0" -v x1="$x1" -v hz="$hz" -v hwm="$hwm" \
            -v s="$start_ns" -v f="$first_ns" -v m0="$m0" -v m1="$m1" "BEGIN {
                w = (t1 - t0) / 1e9
                printf \"%s %.3f %.3f %.3f %d %.1f %.3f\n\", n, (c1 - c0) / w,
                    (p1 - p0) / hz / w, (x1 - x0) / hz / w, hwm, (f - s) / 1e6,
                    ((m1 - m0) - (p1 - p0) - (x1 - x0)) / hz / w
            }" >> "$work/results"
        printf "  %-8s %5d frames in the window; %s\n" "$name" "$((10#$c1 - 10#$c0))" \
            "$(tail -n1 "$work/results" | cut -d" " -f2-)"
    }

    echo "measuring ${seconds} s per program after ${settle} s (renderer) and 2 s (floor)" \
        "of settling, $rounds round(s)"
    echo "  (name: fps, cpu s/s, Xvfb cpu s/s, peak KiB, start-up ms, cpu s/s of everything else)"
    for ((r = 0; r < rounds; r++)); do
        measure renderer "$build/bin/Kestrune.dll" "$settle"
        measure floor "$build/bin/kestrune-floor" 2
    done

    awk "
        { n[\$1]++; fps[\$1] += \$2; cpu[\$1] += \$3; x[\$1] += \$4
          if (\$5 > hwm[\$1]) hwm[\$1] = \$5; up[\$1] += \$6; o[\$1] += \$7 }
        END {
            for (k in n) { fps[k] /= n[k]; cpu[k] /= n[k]; x[k] /= n[k]; up[k] /= n[k]; o[k] /= n[k] }
            printf \"\n%-34s %10s %10s %10s\n\", \"at 1024x768 under Xvfb\", \"renderer\", \"floor\", \"ratio\"
            printf \"%-34s %10.1f %10.1f %10.3f\n\", \"frames per second\", fps[\"renderer\"], fps[\"floor\"], fps[\"renderer\"] / fps[\"floor\"]
            printf \"%-34s %10.2f %10.2f %10.3f\n\", \"CPU seconds per second (program)\", cpu[\"renderer\"], cpu[\"floor\"], cpu[\"renderer\"] / cpu[\"floor\"]
            printf \"%-34s %10.2f %10.2f %10.3f\n\", \"CPU seconds per second (Xvfb)\", x[\"renderer\"], x[\"floor\"], (x[\"floor\"] > 0 ? x[\"renderer\"] / x[\"floor\"] : 0)
            printf \"%-34s %10.1f %10.1f %10.3f\n\", \"CPU ms per frame (program)\", 1000 * cpu[\"renderer\"] / fps[\"renderer\"], 1000 * cpu[\"floor\"] / fps[\"floor\"], (cpu[\"renderer\"] / fps[\"renderer\"]) / (cpu[\"floor\"] / fps[\"floor\"])
            printf \"%-34s %10.1f %10.1f %10.3f\n\", \"peak memory, VmHWM (MiB)\", hwm[\"renderer\"] / 1024, hwm[\"floor\"] / 1024, hwm[\"renderer\"] / hwm[\"floor\"]
            printf \"%-34s %10.0f %10.0f %10.3f\n\", \"start to first swapped frame (ms)\", up[\"renderer\"], up[\"floor\"], up[\"renderer\"] / up[\"floor\"]
            printf \"%-34s %10.2f %10.2f\n\", \"CPU s/s of everything else\", o[\"renderer\"], o[\"floor\"]
        }" "$work/results"
'
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
