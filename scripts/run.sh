#!/usr/bin/env bash
# The run command: installs what is missing, builds the release build and
# starts the screensaver. Without a display (DISPLAY unset) it plays the show
# on a virtual screen for a few seconds and saves screenshots instead.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release

bin=build/release/bin
shots_seconds=${KESTRUNE_SHOT_SECONDS:-12}

start_screensaver() {
    if [[ -x "$bin/Kestrune.scr" ]]; then
        "$bin/Kestrune.scr" /s
    else
        # Until the host is built, the renderer plays the show on its own,
        # with the pictures the host would hand it.
        if "$bin/kestrune-tool" --help 2>/dev/null | grep -q '^  pictures'; then
            folder="${XDG_CACHE_HOME:-$HOME/.cache}/r_vosk"
            mkdir -p "$folder"
            "$bin/kestrune-tool" pictures "$folder"
        fi
        "$bin/Kestrune.dll"
    fi
}

if [[ -n "${DISPLAY:-}" ]]; then
    echo "Starting the screensaver; press Escape to end it."
    start_screensaver
    exit 0
fi

# No display: run on a virtual 1024 x 768 screen and take pictures of it.
shots=$(pwd)/build/screenshots
mkdir -p "$shots"
rm -f "$shots"/*.png
export -f start_screensaver
export bin shots shots_seconds
echo "No display: playing the show on a virtual screen for ${shots_seconds} s."
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    export SDL_VIDEODRIVER=x11
    start_screensaver &
    pid=$!
    for ((s = 1; s <= shots_seconds; s++)); do
        sleep 1
        if (( s % 3 == 0 )); then
            import -window root "$shots/show-$(printf %02d "$s")s.png"
        fi
    done
    xdotool key Escape
    wait "$pid"
'
echo "Screenshots of the show are in $shots:"
ls -1 "$shots"
