#!/usr/bin/env bash
# The run command: installs what is missing, builds the release build and
# starts the screensaver. Without a display (DISPLAY unset) it plays the show
# on a virtual screen for a few seconds and saves screenshots instead.
set -euo pipefail
cd "$(dirname "$0")/.."

bin=build/release/bin
shots=$(pwd)/build/screenshots
shot_seconds=${KESTRUNE_SHOT_SECONDS:-12}

start_screensaver() {
    if [[ -x "$bin/Kestrune.scr" ]]; then
        "$bin/Kestrune.scr" /s
    else
        # Until the host is built, the renderer plays the show on its own,
        # with the pictures the host would hand it.
        local folder="${XDG_CACHE_HOME:-$HOME/.cache}/r_vosk"
        mkdir -p "$folder"
        "$bin/kestrune-tool" pictures "$folder" >/dev/null
        "$bin/Kestrune.dll"
    fi
}

# Inside the virtual screen (the script runs itself under xvfb-run): play the
# show, take a picture every three seconds, then end it as a user would.
if [[ "${1:-}" == "--on-virtual-screen" ]]; then
    export SDL_VIDEODRIVER=x11
    start_screensaver &
    pid=$!
    for ((s = 1; s <= shot_seconds; s++)); do
        sleep 1
        if ((s % 3 == 0)); then
            import -window root "$shots/show-$(printf %02d "$s")s.png"
        fi
    done
    xdotool key Escape
    wait "$pid"
    exit 0
fi

scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target kestrune_renderer kestrune_tool

if [[ -n "${DISPLAY:-}" ]]; then
    echo "Starting the screensaver; press Escape to end it."
    start_screensaver
    exit 0
fi

mkdir -p "$shots"
rm -f "$shots"/*.png
echo "No display: playing the show on a virtual 1024 x 768 screen for ${shot_seconds} s."
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --on-virtual-screen
echo "Screenshots of the show are in $shots:"
ls -1 "$shots"
