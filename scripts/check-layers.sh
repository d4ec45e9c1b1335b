#!/bin/bash
# The host's rooms and their layers: a file may include another room's header
# only when that room lies lower. Rooms on one level stay independent of each
# other. Prints each include that runs back up (or sideways) and fails on any.
set -uo pipefail
cd "$(dirname "$0")/.."

declare -A level=(
    [core]=0     # the settings file, text codecs, number text, file access, paths, the program's own path
    [forms]=0    # the forms layer: portable controls over a Qt or a Win32 backend
    [music]=1    # background music through the MCI command strings
    [pictures]=1 # the four texture pictures the host draws for the renderer
    [controls]=1 # the dialog's image button
    [preview]=1  # the preview form and its still
    [dialog]=2   # the settings dialog
    [saver]=2    # the saver run: texture files, music, renderer start and watch
    [hack]=2     # kestrune-hack, the launcher xscreensaver starts
    [startup]=3  # Main and the mode dispatch
    [main.cpp]=4 # the program's entry point
)

status=0
checked=0
while IFS= read -r file; do
    room=${file#host/}
    room=${room%%/*}
    if [[ -z ${level[$room]+set} ]]; then
        echo "$file: room '$room' has no level here (add it to ${0##*/})"
        status=1
        continue
    fi
    while IFS=: read -r line target; do
        checked=$((checked + 1))
        [[ $target == "$room" ]] && continue
        if [[ -z ${level[$target]+set} ]] || ((level[$target] >= level[$room])); then
            echo "$file:$line: the $room room includes host/$target/, which does not lie below it"
            status=1
        fi
    done < <(grep -noE '^#include "host/[a-z_]+/' "$file" | sed -E 's#^([0-9]+):.*host/([a-z_]+)/$#\1:\2#')
done < <(git ls-files -- 'host/*.cpp' 'host/*.h')

if ((status == 0)); then
    echo "layers: $checked includes across rooms and within them, none runs back up"
fi
exit $status
