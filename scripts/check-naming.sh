#!/usr/bin/env bash
# Checks the project's own identifiers against the naming rule in .clang-tidy
# (readability-identifier-naming, clang-tidy 14). Every source file is checked
# once, with the flags of a build that compiles it: the debug build for most,
# the MinGW build (clang-tidy told the Windows target and MinGW's headers) for
# the Windows-only files, the fuzz build for the fuzz targets. Headers are
# checked through the files that include them.
#
#   scripts/check-naming.sh [FILE...]   (default: every source file)
#
# Configures the three presets when needed (a few seconds; nothing is built).
# KESTRUNE_JOBS sets how many checks run at once (default 2). Exits non-zero
# on a violation and on a file that clang-tidy cannot read.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD
jobs=${KESTRUNE_JOBS:-2}
start=$(date +%s)

for preset in debug mingw fuzz; do
    if ! cmake --preset "$preset" >/dev/null; then
        echo "check-naming: cannot configure the $preset preset"
        exit 1
    fi
done

# Each source file once, from the first build that compiles it; only the named
# files when there are any.
lists=$(mktemp -d)
trap 'rm -rf "$lists"' EXIT
python3 - "$root" "$lists" "$@" <<'EOF' || exit 1
import json, os, sys
root, out, wanted = sys.argv[1], sys.argv[2], {os.path.abspath(f) for f in sys.argv[3:]}
seen = set()
for preset in ("debug", "mingw", "fuzz"):
    with open(os.path.join(root, "build", preset, "compile_commands.json")) as db:
        entries = json.load(db)
    files = []
    for entry in entries:
        path = os.path.normpath(os.path.join(entry["directory"], entry["file"]))
        own = path.startswith(root + os.sep) and not path.startswith(os.path.join(root, "build") + os.sep)
        # Resource scripts are in the compile database too (windres), but
        # hold no C++ names.
        own = own and path.endswith((".c", ".cpp"))
        if own and path not in seen and (not wanted or path in wanted):
            seen.add(path)
            files.append(path)
    with open(os.path.join(out, preset), "w") as listing:
        listing.write("".join(f + "\n" for f in files))
EOF

# Headers from the project's own folders only, never from a build folder.
escaped=$(printf '%s' "$root" | sed 's/[][\.*^$+?(){}|]/\\&/g')
common=(--quiet --header-filter="^$escaped/(common|renderer|host|tools|tests|bench|fuzz)/"
    --extra-arg=-w)

# Clang finds no MinGW C++ headers of its own on Debian: it is given those of
# the -posix compiler, then its own builtin headers and MinGW's C headers.
windows=(--extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-nostdinc --extra-arg=-nostdinc++)
while read -r folder; do
    folder=$(realpath -m "$folder")
    case $folder in
    */c++ | */c++/*) windows+=(--extra-arg=-isystem --extra-arg="$folder") ;;
    /usr/lib/gcc/*) ;;
    *) mingw_c=$folder ;;
    esac
done < <(x86_64-w64-mingw32-g++-posix -xc++ -E -v - </dev/null 2>&1 |
    sed -n '/#include <...>/,/End of search/{s/^ //p}')
windows+=(--extra-arg=-isystem --extra-arg="$(clang -print-resource-dir)/include"
    --extra-arg=-isystem --extra-arg="${mingw_c:-}")

status=0
count=0
for preset in debug mingw fuzz; do
    [[ -s $lists/$preset ]] || continue
    count=$((count + $(wc -l <"$lists/$preset")))
    extra=()
    [[ $preset == mingw ]] && extra=("${windows[@]}")
    # Each batch writes a log of its own, so that two at once never mix lines.
    xargs -a "$lists/$preset" -d '\n' -r -n 4 -P "$jobs" \
        sh -c 'exec clang-tidy "$@" >"$(mktemp "$0.XXXXXX")" 2>&1' "$lists/log" \
        -p "build/$preset" "${common[@]}" "${extra[@]}" || status=1
done

problems=$(cat "$lists"/log.* 2>/dev/null | grep -E 'error:|Error while processing' |
    sed "s|$root/||" | sort -u)
if [[ -n $problems || $status -ne 0 ]]; then
    echo "Names that break the rule in .clang-tidy, or files clang-tidy could not read:"
    if [[ -n $problems ]]; then
        echo "$problems"
    else
        cat "$lists"/log.*
    fi
    echo "($count files in $(($(date +%s) - start)) s)"
    exit 1
fi
echo "naming: $count files follow the rule ($(($(date +%s) - start)) s)"
