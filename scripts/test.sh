#!/usr/bin/env bash
# Installs what is missing, builds and runs every test through CTest.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
cd "${BUILD_DIR:-build}"
# Tests that need a display start their own Xvfb; the rest run on the offscreen platform.
ctest --output-on-failure -j2
