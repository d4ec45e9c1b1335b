#!/usr/bin/env bash
# The run command: installs what is missing, builds the release build and
# starts the screensaver as the system would, Kestrune.scr /s. Without a
# display (DISPLAY unset) it plays the show on a virtual screen for a few
# seconds and saves screenshots instead: the show, the preview in a 152 x 112
# window, and the message a missing renderer gives.
set -euo pipefail
cd "$(dirname "$0")/.."

bin=build/release/bin
shots=$(pwd)/build/screenshots
shot_seconds=${KESTRUNE_SHOT_SECONDS:-12}

# Waits up to 30 s for a window with exactly this title; prints its id.
wait_for_window() {
    local i
    for ((i = 0; i < 300; i++)); do
        if xdotool search --name "^$1\$" 2>/dev/null | head -n1; then
            return 0
        fi
        sleep 0.1
    done
    echo "no window titled $1 appeared" >&2
    return 1
}

# Inside the virtual screen (the script runs itself under xvfb-run).
if [[ "${1:-}" == "--on-virtual-screen" ]]; then
    export SDL_VIDEODRIVER=x11
    # The show: Kestrune.scr /s starts the renderer; a picture every three
    # seconds, then Escape ends it as a user would, and the host with it.
    "$bin/Kestrune.scr" /s &
    host=$!
    wait_for_window Kestrune_VC >/dev/null
    for ((s = 1; s <= shot_seconds; s++)); do
        sleep 1
        if ((s % 3 == 0)); then
            import -window root "$shots/show-$(printf %02d "$s")s.png"
        fi
    done
    xdotool key Escape
    wait "$host"

    # The preview inside a 152 x 112 window, as the system's preview area.
    xmessage -geometry 152x112+0+0 -title preview-area " " &
    area=$!
    parent=$(wait_for_window preview-area)
    "$bin/Kestrune.scr" /p "$parent" &
    preview=$!
    sleep 2
    import -window root -crop 152x112+0+0 "$shots/preview.png"
    kill "$area"
    wait "$preview" || true

    # A host without its renderer says so.
    lonely=$(mktemp -d)
    cp "$bin/Kestrune.scr" "$lonely/"
    "$lonely/Kestrune.scr" /s &
    host=$!
    box=$(wait_for_window Kestrune)
    sleep 1
    import -window root "$shots/renderer-missing.png"
    xdotool windowfocus --sync "$box" key Return
    wait "$host" || true
    rm -rf "$lonely"
    exit 0
fi

scripts/setup.sh
cmake --preset release >/dev/null
cmake --build --preset release --target kestrune_host kestrune_renderer kestrune_tool

if [[ -n "${DISPLAY:-}" ]]; then
    echo "Starting the screensaver; press Escape to end it."
    exec "$bin/Kestrune.scr" /s
fi

mkdir -p "$shots"
rm -f "$shots"/*.png
echo "No display: playing the show on a virtual 1024 x 768 screen for ${shot_seconds} s."
export XDG_CACHE_HOME=${XDG_CACHE_HOME:-$HOME/.cache}
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --on-virtual-screen
echo "Screenshots are in $shots:"
ls -1 "$shots"
