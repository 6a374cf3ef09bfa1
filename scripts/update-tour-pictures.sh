#!/usr/bin/env bash
# Re-makes the pictures of docs/tour/ that docs/tour.md shows: a fresh demo
# installation in a temporary folder (make-demo.sh), the tour run on it
# offscreen with the programs of BUILD, and the pictures shrunk with pngquant
# and optipng when they are installed. Fails, keeping the old pictures, when
# a step of the tour fails.
set -euo pipefail
build=${1:?usage: update-tour-pictures.sh BUILD_DIR}
build=$(cd "$build" && pwd)
src="$(cd "$(dirname "$0")/.." && pwd)"
out="$src/docs/tour"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

bash "$src/scripts/make-demo.sh" "$build" "$scratch/demo" >/dev/null
QT_QPA_PLATFORM=offscreen ALTAVO_REGISTRY="$scratch/demo/registry.ini" \
  "$build/bin/altavo-tour" "$build/bin/altavo" "$scratch/shots"

shopt -s nullglob
shots=("$scratch"/shots/[0-9][0-9]-*.png)
[ ${#shots[@]} -gt 0 ] || { echo "update-tour-pictures.sh: the tour saved no pictures" >&2; exit 1; }
if command -v pngquant >/dev/null; then
  pngquant --force --skip-if-larger --ext .png --quality 70-95 --speed 1 "${shots[@]}" || true
fi
if command -v optipng >/dev/null; then
  optipng -quiet -o2 -strip all "${shots[@]}"
fi
mkdir -p "$out"
rm -f "$out"/[0-9][0-9]-*.png
cp "${shots[@]}" "$out/"
echo "${#shots[@]} pictures in $out ($(du -sh "$out" | cut -f1))"
