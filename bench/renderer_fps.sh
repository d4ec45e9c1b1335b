#!/usr/bin/env bash
# Frames per second of the real renderer at 1024 x 768 on a virtual X server,
# counted from its buffer swaps. A measurement, not a test.
#   bench/renderer_fps.sh [SECONDS] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-10}
# Absolute, so that it holds after a change of folder and in library paths.
build=$(realpath -m "${2:-build/release}")
if [[ ! -x "$build/bin/Kestrune.dll" || ! -f "$build/lib/libkestrune_swap_counter.so" ]]; then
    echo "Build first: cmake --preset release && cmake --build --preset release" >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/cache/r_vosk"
if "$build/bin/kestrune-tool" --help 2>/dev/null | grep -q '^  pictures'; then
    "$build/bin/kestrune-tool" pictures "$work/cache/r_vosk" >/dev/null
fi

export build seconds work
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    export SDL_VIDEODRIVER=x11 XDG_CACHE_HOME="$work/cache"
    export SDL_OPENGL_LIBRARY="$build/lib/libkestrune_swap_counter.so"
    export KESTRUNE_SWAP_COUNT_FILE="$work/swaps"
    "$build/bin/Kestrune.dll" & pid=$!
    # Count from the first swap on, so that start-up is not in the figure.
    for ((i = 0; i < 200; i++)); do [[ -s "$work/swaps" ]] && break; sleep 0.05; done
    start=$(cut -d" " -f1 "$work/swaps"); t0=$(date +%s.%N)
    sleep "$seconds"
    end=$(cut -d" " -f1 "$work/swaps"); t1=$(date +%s.%N)
    kill "$pid"; wait "$pid" 2>/dev/null || true
    awk -v a="$start" -v b="$end" -v t0="$t0" -v t1="$t1" \
        "BEGIN { printf \"renderer: %d frames in %.2f s = %.1f frames per second at 1024x768\n\", b - a, t1 - t0, (b - a) / (t1 - t0) }"
'
