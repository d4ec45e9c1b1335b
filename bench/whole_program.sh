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
#   KESTRUNE_BENCH_ROUNDS  times to run the programs, alternating (default 1)
set -euo pipefail
cd "$(dirname "$0")/.."

# The part that runs inside the virtual X server: the script calls itself.
if [[ "${1:-}" == "--inside" ]]; then
    hz=$(getconf CLK_TCK)
    xvfb=$(pgrep -n -f "^Xvfb $DISPLAY " || true)

    # utime + stime of a process in clock ticks (fields 14 and 15; the command
    # name in brackets may hold spaces, so count after it).
    cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }
    xvfb_ticks() { if [[ -n "$xvfb" ]]; then cpu_ticks "$xvfb"; else echo 0; fi; }
    # Busy clock ticks of the whole machine (all but idle and I/O wait), to
    # tell how much else ran during a window: the cores are shared.
    machine_ticks() { awk '/^cpu / { print $2 + $3 + $4 + $7 + $8 + $9 }' /proc/stat; }
    swaps_now() { cut -d' ' -f1 "$1"; }

    # measure NAME PROGRAM SETTLE: appends "NAME fps cpu xvfb_cpu peak_kib
    # start-up_ms others_cpu" to $work/results.
    measure() {
        local name=$1 program=$2 pause=$3 swaps="$work/$1.swaps"
        rm -f "$swaps"
        export KESTRUNE_SWAP_COUNT_FILE="$swaps"
        local start_ns pid i
        # The start stamp is taken right before the program starts; the swap
        # counter stamps the first swap with the same wall clock.
        start_ns=$(date +%s%N)
        "$program" &
        pid=$!
        for ((i = 0; i < 600; i++)); do
            [[ -s "$swaps" ]] && break
            if ! kill -0 "$pid" 2>/dev/null; then
                echo "$name ended before its first frame" >&2
                return 1
            fi
            sleep 0.02
        done
        if [[ ! -s "$swaps" ]]; then
            echo "$name drew no frame in 12 s" >&2
            kill "$pid"
            return 1
        fi
        local first_ns
        first_ns=$(cut -d' ' -f2 "$swaps")
        sleep "$pause"

        local c0 t0 p0 x0 m0 c1 t1 p1 x1 m1 hwm
        m0=$(machine_ticks)
        c0=$(swaps_now "$swaps"); t0=$(date +%s%N); p0=$(cpu_ticks "$pid"); x0=$(xvfb_ticks)
        sleep "$seconds"
        c1=$(swaps_now "$swaps"); t1=$(date +%s%N); p1=$(cpu_ticks "$pid"); x1=$(xvfb_ticks)
        m1=$(machine_ticks)
        hwm=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status")
        kill -TERM "$pid"
        wait "$pid" 2>/dev/null || true

        awk -v n="$name" -v c0="$c0" -v c1="$c1" -v t0="$t0" -v t1="$t1" -v p0="$p0" \
            -v p1="$p1" -v x0="$x0" -v x1="$x1" -v m0="$m0" -v m1="$m1" -v hz="$hz" \
            -v hwm="$hwm" -v s="$start_ns" -v f="$first_ns" 'BEGIN {
                w = (t1 - t0) / 1e9
                printf "%s %.3f %.3f %.3f %d %.1f %.3f\n", n, (c1 - c0) / w,
                    (p1 - p0) / hz / w, (x1 - x0) / hz / w, hwm, (f - s) / 1e6,
                    ((m1 - m0) - (p1 - p0) - (x1 - x0)) / hz / w
            }' >> "$work/results"
        printf '  %-8s %5d frames in the window; %s\n' "$name" "$((10#$c1 - 10#$c0))" \
            "$(tail -n1 "$work/results" | cut -d' ' -f2-)"
    }

    echo "measuring ${seconds} s per program after ${settle} s (shows) and 2 s (floor)" \
        "of settling, $rounds round(s)"
    echo "  (name: fps, cpu s/s, Xvfb cpu s/s, peak KiB, start-up ms, cpu s/s of everything else)"
    for ((r = 0; r < rounds; r++)); do
        measure renderer "$build/bin/Kestrune.dll" "$settle"
        measure floor "$build/bin/kestrune-floor" 2
    done

    # Means over the rounds (peak memory: the highest), side by side.
    awk '
        { n[$1]++; fps[$1] += $2; cpu[$1] += $3; x[$1] += $4; up[$1] += $6; o[$1] += $7
          if ($5 > hwm[$1]) hwm[$1] = $5 }
        function row(label, format, r, f, noRatio) {
            printf "%-34s " format " " format, label, r, f
            printf noRatio ? " %10s" : " %10.3f", noRatio ? "" : (f > 0 ? r / f : 0)
            printf "\n"
        }
        END {
            for (k in n) {
                fps[k] /= n[k]; cpu[k] /= n[k]; x[k] /= n[k]; up[k] /= n[k]; o[k] /= n[k]
                ms[k] = fps[k] > 0 ? 1000 * cpu[k] / fps[k] : 0
                mib[k] = hwm[k] / 1024
            }
            printf "\n%-34s %10s %10s %10s\n", "at 1024x768 under Xvfb", "renderer", "floor", "ratio"
            row("frames per second", "%10.1f", fps["renderer"], fps["floor"])
            row("CPU seconds per second (program)", "%10.2f", cpu["renderer"], cpu["floor"])
            row("CPU seconds per second (Xvfb)", "%10.2f", x["renderer"], x["floor"])
            row("CPU ms per frame (program)", "%10.1f", ms["renderer"], ms["floor"])
            row("peak memory, VmHWM (MiB)", "%10.1f", mib["renderer"], mib["floor"])
            row("start to first swapped frame (ms)", "%10.0f", up["renderer"], up["floor"])
            row("CPU s/s of everything else", "%10.2f", o["renderer"], o["floor"], 1)
        }' "$work/results"
    exit 0
fi

seconds=${1:-20}
# Absolute, so that it holds after a change of folder and in library paths.
build=$(realpath -m "${2:-build/release}")
settle=${KESTRUNE_BENCH_SETTLE:-2}
rounds=${KESTRUNE_BENCH_ROUNDS:-1}
needed=(bin/Kestrune.dll bin/kestrune-floor bin/kestrune-tool lib/libkestrune_swap_counter.so)
for file in "${needed[@]}"; do
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
export SDL_OPENGL_LIBRARY="$build/lib/libkestrune_swap_counter.so"
# Nothing here plays sound; keep SDL away from any device.
export SDL_AUDIODRIVER=dummy

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) cores)"
xvfb-run -a -s "-screen 0 1024x768x24" "$PWD/bench/whole_program.sh" --inside
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
