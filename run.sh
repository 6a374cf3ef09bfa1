#!/usr/bin/env bash
# Builds the player into build/ and starts it on the demo installation in
# build/demo/ (made on first run). Without a display it runs the scripted tour
# under Xvfb and prints where the screenshots are.
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DALTAVO_TESTS=OFF >/dev/null
cmake --build build

scripts/make-demo.sh "$root/build"
export ALTAVO_REGISTRY="$root/build/demo/registry.ini"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/altavo
fi

# No display: a virtual one, and the tour drives the player through it.
shots="$root/build/tour"
if [ -x build/bin/altavo-tour ]; then
  xvfb-run -a -s "-screen 0 1024x768x24" build/bin/altavo-tour build/bin/altavo "$shots"
  echo "Tour screenshots: $shots"
else
  echo "No display: starting the player under Xvfb for 10 seconds."
  xvfb-run -a -s "-screen 0 1024x768x24" timeout --preserve-status 10 build/bin/altavo || true
fi
