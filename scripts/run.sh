#!/usr/bin/env bash
# The run command: installs what is missing, builds the release build and
# starts the screensaver as the system would, Kestrune.scr /s.
#   scripts/run.sh                      from the build tree (build/release/bin)
#   scripts/run.sh --installed [PREFIX] installs the build into PREFIX first
#                                       (cmake --install; /usr/local unless
#                                       given) and starts the installed
#                                       command, PREFIX/bin/kestrune
# Without a display (DISPLAY unset) it plays the show on a virtual screen for
# a few seconds and saves screenshots instead: the show, the show as an
# xscreensaver hack in a window given to it, the preview in a 152 x 112
# window, the settings dialog, and the message a missing renderer gives.
set -euo pipefail
cd "$(dirname "$0")/.."

shots=$(pwd)/build/screenshots
shot_seconds=${KESTRUNE_SHOT_SECONDS:-12}

# What to start: the build tree's programs, or an installation's commands.
# (On the virtual screen the script runs again, and they come with it.)
if [[ "${1:-}" != "--on-virtual-screen" ]]; then
    programs=build/release/bin
    saver=("$programs/Kestrune.scr" /s)
    hack=$programs/kestrune-hack
    prefix=
    if [[ "${1:-}" == "--installed" ]]; then
        prefix=$(realpath -m "${2:-/usr/local}")
        programs=$prefix/lib/kestrune
        saver=("$prefix/bin/kestrune")
        hack=$prefix/libexec/xscreensaver/kestrune
    fi
    export programs hack
fi

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

# Inside the virtual screen (the script runs itself under xvfb-run, with the
# command to start as its arguments).
if [[ "${1:-}" == "--on-virtual-screen" ]]; then
    shift
    export SDL_VIDEODRIVER=x11
    # The show: Kestrune.scr /s starts the renderer; a picture every three
    # seconds, then Escape ends it as a user would, and the host with it.
    "$@" &
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

    # The hack as xscreensaver's settings preview it: in a window of another
    # program's, here 480 x 360; SIGTERM ends it as xscreensaver does.
    xmessage -geometry 480x360+0+0 -title hack-area " " &
    area=$!
    given=$(wait_for_window hack-area)
    "$hack" --window-id "$given" &
    shown=$!
    sleep 6
    import -window root -crop 480x360+0+0 "$shots/hack-in-a-window.png"
    kill -TERM "$shown"
    wait "$shown"
    kill "$area"
    wait "$area" || true

    # The preview inside a 152 x 112 window, as the system's preview area.
    xmessage -geometry 152x112+0+0 -title preview-area " " &
    area=$!
    parent=$(wait_for_window preview-area)
    "$programs/Kestrune.scr" /p "$parent" &
    preview=$!
    sleep 2
    import -window root -crop 152x112+0+0 "$shots/preview.png"
    kill "$area"
    wait "$preview" || true

    # The settings dialog, as /c opens it; closing its window cancels it.
    "$programs/Kestrune.scr" /c &
    dialog=$!
    window=$(wait_for_window '<Kestrune>')
    sleep 1
    import -window root "$shots/settings-dialog.png"
    xdotool windowclose "$window"
    wait "$dialog" || true

    # A host without its renderer says so.
    lonely=$(mktemp -d)
    cp "$programs/Kestrune.scr" "$lonely/"
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
cmake --build --preset release --target kestrune_host kestrune_renderer kestrune_hack kestrune_tool

if [[ -n "$prefix" ]]; then
    sudo_cmd=()
    if [[ $(id -u) -ne 0 ]] && ! { mkdir -p "$prefix" 2>/dev/null && [[ -w "$prefix" ]]; }; then
        sudo_cmd=(sudo)
    fi
    "${sudo_cmd[@]}" cmake --install build/release --prefix "$prefix"
    echo "Installed into $prefix: $prefix/bin/kestrune starts the screensaver,"
    echo "$prefix/bin/kestrune-settings its settings, and xscreensaver runs"
    echo "$hack --root (see the README)."
fi

if [[ -n "${DISPLAY:-}" ]]; then
    echo "Starting the screensaver; press Escape to end it."
    exec "${saver[@]}"
fi

mkdir -p "$shots"
rm -f "$shots"/*.png
echo "No display: playing the show on a virtual 1024 x 768 screen for ${shot_seconds} s."
export XDG_CACHE_HOME=${XDG_CACHE_HOME:-$HOME/.cache}
xvfb-run -a -s "-screen 0 1024x768x24" "$0" --on-virtual-screen "${saver[@]}"
echo "Screenshots are in $shots:"
ls -1 "$shots"
