#!/usr/bin/env bash
# Installs the Debian packages the project needs; does nothing when they are all present.
# With --windows, also the 32-bit Windows cross compiler and Wine to run what it builds.
set -euo pipefail
PACKAGES=(
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libsdl2-dev libsdl2-mixer-dev libgl-dev libegl-dev libgl1-mesa-dri libglm-dev libstb-dev
  libcdio-dev libcdio-paranoia-dev libx11-dev libxinerama-dev qt6-base-dev zlib1g-dev
  fonts-ipafont-gothic fonts-dejavu-core
  xvfb xserver-xephyr xdotool x11-utils imagemagick sox libsox-fmt-mp3 dpkg-dev file libxml2-utils
  xscreensaver xscreensaver-gl man-db python3 lintian unzip
)
WINDOWS=${1:-}
if [ "$WINDOWS" = --windows ]; then
  # Wine's 32-bit half draws Direct3D through the i386 OpenGL stack and plays music through
  # i386 GStreamer and ALSA; none of them comes with wine32 without its recommendations.
  PACKAGES+=(g++-mingw-w64-i686-posix libz-mingw-w64-dev googletest wine wine64 wine32:i386
    libgl1:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386 libasound2:i386
    gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386 locales nsis icoutils)
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
# Wine draws Japanese text in a Japanese font only in a Japanese locale.
if [ "$WINDOWS" = --windows ] && ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
