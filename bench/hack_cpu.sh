#!/usr/bin/env bash
# CPU use of the renderer as an xscreensaver hack: the show drawn into a
# 1024 x 768 window made for it (as xscreensaver's own window on a screen of
# that size), once with the pause after each frame that xscreensaver's
# settings give by default (20000 microseconds: the hack's settings file and
# the renderer's own default) and once with no pause. The figures are the
# renderer's user and system CPU time over the wall time (100% is one core
# busy; Mesa's software renderer may use more than one) and its frames per
# second, counted from its buffer swaps. A measurement, not a test.
#   bench/hack_cpu.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
# Absolute, so that it holds after a change of folder and in library paths.
build=$(realpath -m "${2:-build/release}")
if [[ ! -x "$build/bin/Kestrune.dll" || ! -f "$build/lib/libkestrune_swap_counter.so" ]]; then
    echo "Build first: cmake --preset release && cmake --build --preset release" >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/cache/r_vosk"
"$build/bin/kestrune-tool" pictures "$work/cache/r_vosk" >/dev/null

export build seconds work
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -euo pipefail
    export XDG_CACHE_HOME="$work/cache"
    # The window the screensaver would give: a plain one covering the screen.
    xmessage -geometry 1024x768+0+0 -title hack-window " " & area=$!
    for ((i = 0; i < 100; i++)); do
        window=$(xdotool search --name "^hack-window\$" 2>/dev/null | head -n1) && break
        sleep 0.1
    done
    ticks=$(getconf CLK_TCK)
    cpu_ticks() { awk "{ print \$14 + \$15 }" "/proc/$1/stat"; }
    swaps() { cut -d" " -f1 "$work/swaps"; }
    for delay in 20000 0; do
        rm -f "$work/swaps"
        # The counter is preloaded: in this mode the renderer calls GLX itself.
        LD_PRELOAD="$build/lib/libkestrune_swap_counter.so" \
            KESTRUNE_SWAP_COUNT_FILE="$work/swaps" \
            "$build/bin/Kestrune.dll" -window-id "$window" -delay "$delay" & pid=$!
        # Two seconds to settle: start-up and the first textures are not in the figure.
        for ((i = 0; i < 200; i++)); do [[ -s "$work/swaps" ]] && break; sleep 0.05; done
        sleep 2
        c0=$(cpu_ticks "$pid"); f0=$(swaps); t0=$(date +%s.%N)
        sleep "$seconds"
        c1=$(cpu_ticks "$pid"); f1=$(swaps); t1=$(date +%s.%N)
        kill -TERM "$pid"; wait "$pid"
        # The swap counts have leading zeros: awk reads them as decimal.
        awk -v d="$delay" -v c="$((c1 - c0))" -v hz="$ticks" -v f0="$f0" -v f1="$f1" \
            -v t0="$t0" -v t1="$t1" "BEGIN {
                wall = t1 - t0
                printf \"hack mode, 1024x768, -delay %6d: CPU %5.1f%% of one core, %5.1f frames per second (%.1f s)\n\",
                    d, 100 * c / hz / wall, (f1 - f0) / wall, wall }"
    done
    kill "$area"
'
