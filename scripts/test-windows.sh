#!/usr/bin/env bash
# The Windows stage of the test command: cross-compiles the mingw preset, then
# runs under Wine in a virtual X server (design: private prefix, silent sound
# card, unmanaged X11 driver; see scripts/wine-env.sh):
#   1. every Windows test program, through CTest in build/mingw (each Wine
#      call under `timeout`; a failing program's whole output is printed),
#      the MCI tests among them with a short MP3 made here;
#   2. the whole-program tests, driven from Linux (tests/e2e/wine_*): the
#      renderer's window, screen, Escape, close request and fullscreen
#      question; Kestrune.scr's modes, screensaver run with the renderer and
#      music, preview and settings dialog (under a Japanese and a Western
#      locale); and the settings file passing between the two platforms;
#   3. the settings file reader and writer of both builds against the Windows
#      profile calls (tests/host/core/ini_differential_test.cpp).
# Usage: scripts/test-windows.sh [LINUX_BUILD_DIR]   (default: build/debug,
# whose kestrune-tool and Wine test drivers it builds when missing).
# Exits non-zero when anything failed.
set -uo pipefail
cd "$(dirname "$0")/.."

# Wine passes file names and arguments between Linux and the Windows programs
# in the locale's encoding; the tests' Japanese names need a UTF-8 one, which
# a bare environment (the C locale) lacks. C.UTF-8 is on every Debian 12.
if [[ $(locale charmap 2>/dev/null) != UTF-8 ]]; then
    export LC_ALL=C.UTF-8
fi

linux_build=${1:-build/debug}
mingw=build/mingw

# Seconds since the stage began, for the log: where the time goes.
elapsed() { echo "   ($(($(date +%s) - KESTRUNE_WINE_STAGE_START)) s into the Windows stage)"; }

if [[ ${KESTRUNE_WINE_STAGE:-} != inside ]]; then
    export KESTRUNE_WINE_STAGE_START=$(date +%s)
    echo "-- mingw build"
    cmake --preset mingw >/dev/null && cmake --build --preset mingw || exit 1
    echo "-- Linux side of the Wine tests ($linux_build)"
    if [[ ! -f $linux_build/CMakeCache.txt ]]; then
        echo "no Linux build in $linux_build (configure it first, e.g. cmake --preset debug)"
        exit 1
    fi
    cmake --build "$linux_build" \
        --target kestrune_tool wine_e2e_test core_ini_differential_test || exit 1
    elapsed

    # A one-second tone as MP3, for the MCI tests: sox makes the samples,
    # lame encodes them.
    clips="$PWD/$mingw/wine-clips"
    mkdir -p "$clips"
    sox -q -n -r 44100 -c 2 -b 16 "$clips/tone.wav" synth 1 sine 440 vol 0.5 &&
        lame --quiet -b 128 "$clips/tone.wav" "$clips/tone.mp3" || exit 1

    # A Japanese locale for Wine, compiled into the build tree (the system's
    # own locales stay as they are): the settings dialog is drawn under it
    # and under a Western one, and the two must match.
    locales="$PWD/$mingw/wine-locale"
    if [[ ! -d $locales/ja_JP.UTF-8 ]]; then
        mkdir -p "$locales"
        localedef -i ja_JP -f UTF-8 "$locales/ja_JP.UTF-8" >/dev/null 2>&1
        [[ -d $locales/ja_JP.UTF-8 ]] || { echo "cannot compile the ja_JP locale"; exit 1; }
    fi
    export KESTRUNE_WINE_JA_LOCPATH="$locales"

    # A dangling symbolic link for the settings writer's test: Wine follows
    # Unix links but cannot make them, so it is made here, fresh for each run.
    links="$PWD/$mingw/test-link"
    rm -rf "$links"
    mkdir -p "$links"
    ln -s real.ini "$links/Kestrune.ini"
    export KESTRUNE_TEST_LINK_FOLDER="Z:${links//\//\\}"

    export KESTRUNE_WINE_STAGE=inside
    export KESTRUNE_TEST_MP3="Z:${clips//\//\\}\\tone.mp3"
    export KESTRUNE_TEST_WAV="Z:${clips//\//\\}\\tone.wav"
    export KESTRUNE_WINDOWS_BUILD="$PWD/$mingw"
    exec timeout 1800 xvfb-run -a -s "-screen 0 1024x768x24" \
        scripts/wine-env.sh "$mingw" "$0" "$linux_build"
fi

# Inside the virtual X server and the prefix (made by wine-env.sh if it was
# not there) from here on.
echo "-- Wine prefix ready"
elapsed
failures=()

# One Wine server for all the unit tests: otherwise each program would bring
# the prefix's services up anew, which takes seconds. The services start with
# their output sent nowhere, so that none keeps a test's output open.
timeout 30 wineserver -p
timeout 120 wineboot </dev/null >/dev/null 2>&1

echo "-- Windows unit tests under Wine"
if ! ctest --test-dir "$mingw" --output-on-failure -j2 --timeout 600; then
    failures+=("Windows unit tests")
fi
elapsed

# The whole-program tests start a Wine session per test on X servers of
# their own; the one above must go first.
timeout 60 wineserver -k
timeout 60 wineserver -w

echo "-- Windows programs under Wine, driven from Linux"
# (Their output is kept in the build folder, where the test command's summary
# finds the tests that skipped.)
if ! timeout 900 "$linux_build/tests/e2e/wine_e2e_test" 2>&1 | tee "$mingw/wine-e2e.log"; then
    failures+=("Windows whole-program tests")
fi
elapsed

echo "-- The settings file against the Windows profile calls"
if ! timeout 900 "$linux_build/tests/host/core/core_ini_differential_test" 2>&1 |
    tee "$mingw/wine-differential.log"; then
    failures+=("settings file differential test")
fi
elapsed

if ((${#failures[@]})); then
    echo "Windows stage FAILED: ${failures[*]}"
    exit 1
fi
echo "Windows stage passed."
