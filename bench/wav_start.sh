#!/usr/bin/env bash
# How long the chosen music holds back the show on Windows: the Windows
# Kestrune.scr /s under Wine, on a virtual 1024 x 768 X server, timed from its
# start to the renderer's window "Kestrune_VC": without music, with a WAV of
# one second (the cost of the sound device itself) and with a large WAV. Each
# case runs ROUNDS times; each run is ended by ending its renderer. A
# measurement, not a test.
#   bench/wav_start.sh [MINGW_BUILD_DIR] [MEGABYTES] [ROUNDS]
# MINGW_BUILD_DIR defaults to build/mingw (its Wine prefix is used),
# MEGABYTES to 200, ROUNDS to 3.
set -euo pipefail
cd "$(dirname "$0")/.."

if [[ "${1:-}" == "--inside" ]]; then
    # ms since the epoch
    now_ms() { echo $(($(date +%s%N) / 1000000)); }
    settings() { # settings KIND FILE: Kestrune.ini as the dialog writes it
        printf '[Section]\r\nBGM区分=%s\r\nBGMﾘﾋﾟｰﾄ=0\r\nBGMﾌｧｲﾙ=%s\r\n' "$1" "$2" |
            iconv -f UTF-8 -t CP932 >"$install/Kestrune.ini"
    }
    renderer_pid() { # the renderer started from this installation
        grep -lzF "$(printf 'Z:%s\\Kestrune.dll' "${install//\//\\}")" /proc/[0-9]*/cmdline \
            2>/dev/null | cut -d/ -f3
    }
    window() { xdotool search --name '^Kestrune_VC$' 2>/dev/null | head -1; }
    one_run() { # one_run LABEL: prints the start-to-window time
        local start host ms
        start=$(now_ms)
        wine "$install/Kestrune.scr" /s >/dev/null 2>&1 &
        host=$!
        for ((i = 0; i < 6000; i++)); do
            [[ -n $(window) ]] && break
            sleep 0.01
        done
        ms=$(($(now_ms) - start))
        if [[ -z $(window) ]]; then
            echo "$1: the renderer's window never appeared" >&2
            kill "$host" 2>/dev/null || true
            return 1
        fi
        echo "$1: ${ms} ms from start to the renderer's window"
        # The renderer this run started ends (by its process id: keys reach
        # a window of Wine's only once it has the focus, which nothing gives
        # it here); the host notices and ends the run.
        renderer_pid | xargs -r kill 2>/dev/null || true
        timeout 60 tail --pid="$host" -f /dev/null || kill "$host" 2>/dev/null || true
        for ((i = 0; i < 6000; i++)); do
            [[ -z $(window) ]] && break
            sleep 0.01
        done
    }
    # The Wine session is started once, before the first timed run, by a run
    # that is not counted.
    wineserver -p 2>/dev/null || true
    settings 0 ""
    one_run "warm-up" >/dev/null
    for ((round = 1; round <= rounds; round++)); do
        settings 0 ""
        one_run "no music, round $round"
        settings 2 "Z:${small//\//\\}"
        one_run "1 s WAV, round $round"
        settings 2 "Z:${wav//\//\\}"
        one_run "$megabytes MB WAV, round $round"
    done
    exit 0
fi

build=${1:-build/mingw}
megabytes=${2:-200}
rounds=${3:-3}
if [[ ! -f "$build/bin/Kestrune.scr" || ! -f "$build/bin/Kestrune.dll" ]]; then
    echo "Build first: cmake --preset mingw && cmake --build --preset mingw" >&2
    exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$build/bin/Kestrune.scr" "$build/bin/Kestrune.dll" "$work/"
# Silence as 16-bit stereo at 44.1 kHz: 176,400 bytes a second.
wav="$work/large.wav"
sox -q -n -r 44100 -c 2 -b 16 "$wav" trim 0 $((megabytes * 1000000 / 176400))
# A WAV of one second: what opening the sound device costs, whatever the size.
small="$work/small.wav"
sox -q -n -r 44100 -c 2 -b 16 "$small" trim 0 1
echo "WAV: $(($(stat -c %s "$wav") / 1000000)) MB; machine load: $(cut -d' ' -f1-3 /proc/loadavg)"
export install=$work wav small megabytes rounds
xvfb-run -a -s "-screen 0 1024x768x24" scripts/wine-env.sh "$build" "$0" --inside
