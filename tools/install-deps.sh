#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need.
# Checks with dpkg first, so a second run installs nothing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config python3
  qt6-base-dev qt6-base-dev-tools libqt6svg6-dev
  zlib1g-dev libjpeg-dev
  libdw-dev libelf-dev binutils
  libgtest-dev libgmock-dev libbenchmark-dev
  libgif-dev gifsicle imagemagick
  libwmf-dev libemf2svg-dev fonts-urw-base35
  clang libclang-rt-14-dev
  fonts-liberation xvfb xauth x11-utils
  openbox xdotool
  libreoffice-writer-nogui
  tidy
  libsqlite3-dev libpq-dev postgresql
  dpkg-dev lintian desktop-file-utils appstream bash-completion
  weston xwayland qt6-wayland xdotool
  libssl-dev openssl xclip elfutils procps iproute2
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [[ $(id -u) -ne 0 ]]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
