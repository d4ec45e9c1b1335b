#!/usr/bin/env bash
# What the host costs while the show runs: Kestrune.scr /s starts the real
# renderer on a virtual 1024 x 768 X server, and once the renderer's window is
# up the host's own CPU time and resident memory are read over a window of
# SECONDS. The renderer itself is not counted. A measurement, not a test.
#   bench/host_watch.sh [SECONDS] [BUILD_DIR]
# SECONDS defaults to 30, BUILD_DIR to build/release. The music setting is
# none: the host only watches (no settings file is beside the copy).
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ "${1:-}" == "--inside" ]]; then
    hz=$(getconf CLK_TCK)
    cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }

    "$install/Kestrune.scr" /s &
    host=$!
    for ((i = 0; i < 1500; i++)); do
        xdotool search --name '^Kestrune_VC$' >/dev/null 2>&1 && break
        sleep 0.02
    done
    if ! xdotool search --name '^Kestrune_VC$' >/dev/null 2>&1; then
        echo "the renderer's window never appeared" >&2
        kill "$host"
        exit 1
    fi
    # Let the start-up's work (texture files, forms) fall out of the window.
    sleep 2
    t0=$(date +%s%N); p0=$(cpu_ticks "$host")
    sleep "$seconds"
    t1=$(date +%s%N); p1=$(cpu_ticks "$host")
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$host/status")
    hwm=$(awk '/^VmHWM:/ { print $2 }' "/proc/$host/status")
    xdotool key Escape
    wait "$host" || true
    awk -v t0="$t0" -v t1="$t1" -v p0="$p0" -v p1="$p1" -v hz="$hz" -v rss="$rss" \
        -v hwm="$hwm" 'BEGIN {
            w = (t1 - t0) / 1e9
            printf "host CPU while watching: %.3f %% of one core over %.1f s (%d clock ticks)\n",
                100 * (p1 - p0) / hz / w, w, p1 - p0
            printf "host resident memory: %.1f MiB now, %.1f MiB at its peak\n",
                rss / 1024, hwm / 1024
        }'
    exit 0
fi

seconds=${1:-30}
build=${2:-build/release}
if [[ ! -x "$build/bin/Kestrune.scr" || ! -x "$build/bin/Kestrune.dll" ]]; then
    echo "Build first: cmake --preset release && cmake --build --preset release" >&2
    exit 1
fi
# A private installation: the two programs side by side, textures and
# settings of their own.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/bin/Kestrune.scr" "$build/bin/Kestrune.dll" "$work/"
export install=$work seconds
export XDG_CACHE_HOME=$work/cache SDL_VIDEODRIVER=x11 SDL_AUDIODRIVER=dummy
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside
