#!/usr/bin/env bash
# Installs the Debian packages the project needs; does nothing when they are all present.
# With --windows, also the 32-bit Windows cross compiler and Wine to run what it builds.
set -euo pipefail
PACKAGES=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libsdl2-mixer-dev libgl-dev libegl-dev libgl1-mesa-dri libglm-dev libstb-dev
  libcdio-dev libcdio-paranoia-dev libx11-dev qt6-base-dev
  fonts-ipafont-gothic fonts-dejavu-core
  xvfb xdotool x11-utils imagemagick sox libsox-fmt-mp3 dpkg-dev file libxml2-utils
  xscreensaver xscreensaver-gl man-db
)
WINDOWS=${1:-}
if [ "$WINDOWS" = --windows ]; then
  PACKAGES+=(g++-mingw-w64-i686-posix googletest wine wine64 wine32:i386)
fi
missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  if [ "$WINDOWS" = --windows ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386  # Wine runs 32-bit programs with its i386 half
  fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
