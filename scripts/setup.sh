#!/usr/bin/env bash
# Installs the Debian 12 packages that Kestrune needs to build, run and test,
# skipping those already present. Safe to run again and again: when nothing is
# missing it only looks and returns.
set -euo pipefail

packages=(
  # build, tests, benchmarks
  cmake g++ ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev libstb-dev
  # the picture test's compressed reference pictures
  zlib1g-dev
  clang-format clang-tidy
  # fuzzing
  clang libclang-rt-14-dev
  # test fixtures and screenshots
  sox lame imagemagick
  # OpenGL 1.1, GLU, software rendering, offscreen contexts
  libgl-dev libglu1-mesa-dev libgl1-mesa-dri libegl-dev
  # renderer window
  libsdl2-dev
  # host forms
  qt6-base-dev libx11-dev libx11-xcb-dev fonts-ipafont-gothic
  # music
  libsdl2-mixer-dev libcdio-dev libcdio-paranoia-dev
  # headless tests
  xvfb xauth xfonts-base xdotool x11-utils
  # what the tests see of the X server: the cursor shown, its screen saver
  libxfixes-dev libxss-dev
  # the real xscreensaver daemon, for the desktop tests
  xscreensaver
  # Windows build and its tests
  g++-mingw-w64-x86-64 wine64 wine gstreamer1.0-plugins-good
  # the ja_JP locale's sources, compiled for the Wine tests of the dialog
  locales
  # the Debian package (scripts/package.sh) and its checks
  debhelper lintian desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "setup: installing ${#missing[@]} missing package(s): ${missing[*]}"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
  sudo_cmd=(sudo)
fi

# apt refuses to run while another apt or dpkg holds the lock (an unattended
# upgrade on a fresh machine, say); wait for it rather than fail.
apt_opts=(-o DPkg::Lock::Timeout=600 -y -q)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${apt_opts[@]}" update >/dev/null
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get "${apt_opts[@]}" \
  install --no-install-recommends "${missing[@]}" >/dev/null
echo "setup: done"
