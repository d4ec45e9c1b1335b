#!/usr/bin/env bash
# The spread of the renderer's frame times over one whole show at 1024 x 768 on
# a virtual X server: the median, the 99th percentile and the longest frame,
# the moments of the show at which the long frames fall, and the median frame
# of each tenth of the show (fade-in, figures alone, cross-fades). Each frame's
# time is the span between two buffer swaps, stamped by the swap counter; its
# moment is the show time at the swap that began it (the show clock starts at
# the first frame). A measurement, not a test.
#   bench/frame_spread.sh [BUILD_DIR...]
# Several build folders (say one of the code before a change and one after)
# are measured one after the other in each round, so that a busy neighbour
# weighs on both alike. Default: build/release. Environment:
#   KESTRUNE_BENCH_SHOW_SECONDS  seconds of show measured (default 100, the period)
#   KESTRUNE_BENCH_ROUNDS        rounds over the build folders (default 1)
#   KESTRUNE_BENCH_LONG          a frame is long above this many medians (default 1.5)
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ "${1:-}" == "--inside" ]]; then
    shift
    machine_ticks() { awk '/^cpu / { print $2 + $3 + $4 + $7 + $8 + $9 }' /proc/stat; }
    hz=$(getconf CLK_TCK)

    # spread BUILD: runs the build's renderer for the show and prints one line
    # of figures and the long frames' moments.
    spread() {
        local build=$1 times="$work/times" swaps="$work/swaps" pid i m0 m1
        rm -f "$times" "$swaps"
        m0=$(machine_ticks)
        KESTRUNE_SWAP_COUNT_FILE="$swaps" KESTRUNE_SWAP_TIMES_FILE="$times" \
            SDL_OPENGL_LIBRARY="$build/lib/libkestrune_swap_counter.so" \
            "$build/bin/Kestrune.dll" &
        pid=$!
        for ((i = 0; i < 600; i++)); do
            [[ -s "$swaps" ]] && break
            sleep 0.02
        done
        if [[ ! -s "$swaps" ]]; then
            echo "$build: no frame in 12 s" >&2
            kill "$pid" 2>/dev/null || true
            return 1
        fi
        # One second more than the show, so that its last frame is in.
        sleep "$((show_seconds + 1))"
        kill -TERM "$pid"
        wait "$pid" 2>/dev/null || true
        m1=$(machine_ticks)
        # Frames as "milliseconds moment" lines, shortest first.
        sort -n "$times" | awk -v show="$show_seconds" '
            NR == 1 { first = $1 }
            NR > 1 {
                at = (previous - first) / 1e9
                if (at >= show) exit
                printf "%.3f %.3f\n", ($1 - previous) / 1e6, at
            }
            { previous = $1 }' | sort -g >"$work/frames"
        awk -v show="$show_seconds" -v long="$long" -v busy="$((m1 - m0))" -v hz="$hz" \
            -v name="$build" '
            { ms[NR] = $1; moment[NR] = $2 }
            END {
                n = NR
                if (n == 0) { print name ": no frames"; exit }
                median = ms[int((n + 1) / 2)]
                p99 = ms[int(n * 0.99 + 0.999)]
                printf "%s\n  %d frames: median %.2f ms, 99th percentile %.2f ms (%.2f x median),"\
                    " longest %.2f ms; machine busy %.2f cores\n", name, n, median, p99,
                    p99 / median, ms[n], busy / hz / (show + 1)
                # The long frames by the tenth of the show they fall in, and the
                # ten longest with their moments.
                limit = long * median
                for (i = 1; i <= n; i++) if (ms[i] > limit) { count[int(moment[i] / show * 10)]++; all++ }
                printf "  frames over %.1f x median (%.2f ms): %d, by tenth of the show:", long, limit, all
                for (k = 0; k < 10; k++) printf " %d", count[k]
                for (i = 1; i <= n; i++) frames[int(moment[i] / show * 10)]++
                printf "\n  median by tenth of the show (ms):"
                for (i = 1; i <= n; i++) {
                    k = int(moment[i] / show * 10)
                    if (++seen[k] == int((frames[k] + 1) / 2)) middle[k] = ms[i]
                }
                for (k = 0; k < 10; k++) printf " %.1f", middle[k]
                printf "\n  longest:"
                for (i = n; i > n - 10 && i >= 1; i--) printf " %s ms at %s s;", ms[i], moment[i]
                printf "\n"
            }' "$work/frames"
    }

    for ((r = 0; r < rounds; r++)); do
        for build in "$@"; do
            spread "$build"
        done
    done
    exit 0
fi

show_seconds=${KESTRUNE_BENCH_SHOW_SECONDS:-100}
rounds=${KESTRUNE_BENCH_ROUNDS:-1}
long=${KESTRUNE_BENCH_LONG:-1.5}
builds=()
for dir in "${@:-build/release}"; do
    # Absolute, so that it holds after a change of folder and in library paths.
    dir=$(realpath -m "$dir")
    for file in bin/Kestrune.dll bin/kestrune-tool lib/libkestrune_swap_counter.so; do
        if [[ ! -e "$dir/$file" ]]; then
            echo "missing $dir/$file; build the targets kestrune_renderer kestrune_tool" \
                "kestrune_swap_counter first" >&2
            exit 1
        fi
    done
    builds+=("$dir")
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/cache/r_vosk"
"${builds[0]}/bin/kestrune-tool" pictures "$work/cache/r_vosk" >/dev/null

export work show_seconds rounds long
export SDL_VIDEODRIVER=x11 XDG_CACHE_HOME="$work/cache" SDL_AUDIODRIVER=dummy

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg) ($(nproc) cores);" \
    "${show_seconds} s of show per run, $rounds round(s)"
xvfb-run -a -s "-screen 0 1024x768x24" "$PWD/bench/frame_spread.sh" --inside "${builds[@]}"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
