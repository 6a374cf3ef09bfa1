#!/usr/bin/env bash
# Installs the Debian packages the build, the player and the tests need.
# Idempotent: packages already present are left alone.
set -euo pipefail

packages=(
  build-essential cmake ninja-build clang libclang-rt-14-dev
  qt6-base-dev libgif-dev libx11-dev libgtest-dev googletest
  xvfb xauth fonts-dejavu-core fonts-liberation2
  python3 python3-dbfread python3-dbf libdbd-xbase-perl poppler-utils
  libxbase64-dev
  qt6-multimedia-dev gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  gstreamer1.0-libav gstreamer1.0-plugins-bad ffmpeg espeak-ng
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
