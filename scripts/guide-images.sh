#!/usr/bin/env bash
# Refreshes the pictures of the user guide (docs/images/*.png): builds the end-to-end test of a
# declaration's life and runs it with QZ_GUIDE_IMAGES pointing at docs/images, so that every
# picture shows the real windows at one step of that life. Environment: BUILD_DIR (default
# build), as for scripts/build.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
images=$PWD/docs/images
./scripts/build.sh test_life_x11
mkdir -p "$images"
# The pictures are written only when the whole life passes; a failed run keeps the old ones.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
QZ_GUIDE_IMAGES=$scratch ctest --test-dir "$BUILD_DIR" -R '^test_life_x11$' --output-on-failure
shopt -s nullglob
pictures=("$scratch"/*.png)
if [ ${#pictures[@]} -eq 0 ]; then
  echo "guide-images.sh: the test saved no pictures (was it skipped?)" >&2
  exit 1
fi
cp "${pictures[@]}" "$images"/
echo "guide-images.sh: ${#pictures[@]} pictures in docs/images"
