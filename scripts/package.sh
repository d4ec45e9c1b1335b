#!/usr/bin/env bash
# Builds the Debian package from this checkout and prints its path:
#
#   scripts/package.sh [OUTPUT_FOLDER]    # build/package unless named
#
# The checkout's files (those git tracks or would track, so a working tree's
# changes are in) are copied into OUTPUT_FOLDER/kestrune-VERSION and built
# there by dpkg-buildpackage, which leaves the .deb beside that folder. The
# package is then checked with lintian and its desktop entry with
# desktop-file-validate; any error or warning fails the command.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/setup.sh >&2

output=$(realpath -m -- "${1:-build/package}")
version=$(dpkg-parsechangelog -l debian/changelog -S Version)
stage="$output/kestrune-${version%-*}"
deb="$output/kestrune_${version}_$(dpkg --print-architecture).deb"

rm -rf -- "$stage" "$deb"
mkdir -p -- "$stage"
if git -C "$root" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    # Files deleted in the working tree but not yet in git are left out.
    git -C "$root" ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' file; do
            [[ -e $file || -L $file ]] && printf '%s\0' "$file"
        done | tar -C "$root" --null -T - -cf - | tar -C "$stage" -xf -
else
    tar -C "$root" --exclude=./build --exclude=./.git -cf - . | tar -C "$stage" -xf -
fi

# ccache, where it is installed, keeps rebuilds short. debhelper gives the
# build a home of its own, so the cache folder is named outright.
if command -v ccache >/dev/null && [[ -z ${CMAKE_CXX_COMPILER_LAUNCHER:-} ]]; then
    export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
    CCACHE_DIR=${CCACHE_DIR:-$(ccache -k cache_dir)}
    export CCACHE_DIR
fi
export DEB_BUILD_OPTIONS="parallel=$(nproc) ${DEB_BUILD_OPTIONS:-}"
(cd "$stage" && nice dpkg-buildpackage -b -us -uc) >&2
[[ -f $deb ]] || { echo "package: $deb was not made" >&2; exit 1; }

if command -v lintian >/dev/null; then
    lintian --fail-on error,warning "$deb" >&2
else
    echo "package: lintian is not installed, the package is not checked" >&2
fi
if command -v desktop-file-validate >/dev/null; then
    entry=$(mktemp --suffix=.desktop)
    trap 'rm -f "$entry"' EXIT
    dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/applications/kestrune-settings.desktop >"$entry"
    desktop-file-validate "$entry" >&2
else
    echo "package: desktop-file-validate is not installed, the desktop entry is not checked" >&2
fi
echo "$deb"
