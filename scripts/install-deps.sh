#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Drift needs.
# Idempotent: when everything is present it does nothing. Works as root or via sudo.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  # test and benchmark frameworks
  libgtest-dev libgmock-dev libbenchmark-dev
  # JSON for drift-inspect and its tests
  nlohmann-json3-dev
  # window, input, audio and GL
  libsdl2-dev libx11-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri
  # start dialog
  libgtk-3-dev
  # data formats
  libxml2-dev libmpg123-dev libmp3lame-dev libminizip-dev zlib1g-dev
  libpng-dev libjpeg62-turbo-dev libfreetype-dev fonts-dejavu-core
  # headless runs and GUI tests
  xvfb xauth xdotool x11-utils
  # no display at all: SDL's offscreen driver gets its GL context through EGL on Mesa
  libegl1 libegl-mesa0
  # drift-capture's videos (H.264 and AAC through the ffmpeg program)
  ffmpeg
  # the release archive: bundled libraries' run path, symbol versions, and the bare
  # system it is tried on (chroot; screenshots with xwd, read by a Python script)
  patchelf binutils debootstrap x11-apps python3
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "install-deps: installing ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  SUDO=()
else
  command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  SUDO=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
