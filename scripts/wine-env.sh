#!/usr/bin/env bash
# Prepares a private Wine prefix inside the build tree and runs a command in
# it: scripts/wine-env.sh BUILD_DIR COMMAND...
# The prefix and HOME live in BUILD_DIR/wine, so nothing of the user's own
# Wine set-up is touched and every run starts from the same state.
set -euo pipefail
build=$(cd "$1" && pwd)
shift

export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export HOME="$build/wine/home"
export WINEPREFIX="$build/wine/prefix"
export WINEARCH=win64

if [[ ! -f "$WINEPREFIX/.kestrune-ready" ]]; then
    mkdir -p "$HOME"
    # A silent sound card for winmm: ALSA's null device.
    echo 'pcm.!default { type null }' >"$HOME/.asoundrc"
    timeout 300 wineboot -i >/dev/null 2>&1 || true
    # Without a window manager, an unmanaged X11 driver keeps Wine from
    # waiting for one when a fullscreen popup is destroyed.
    timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
        >/dev/null 2>&1
    timeout 60 wineserver -w || true
    touch "$WINEPREFIX/.kestrune-ready"
fi

status=0
"$@" || status=$?
timeout 30 wineserver -k >/dev/null 2>&1 || true
exit "$status"
