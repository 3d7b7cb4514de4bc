#!/usr/bin/env bash
# Installs what is missing, checks the formatting, builds and runs every test through CTest,
# then builds again with the address and undefined-behaviour sanitizers (build-asan/) and runs
# the tests that need no X server there. From clean, 9 to 16 minutes on two cores.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
# Formatting first: it takes a second, so a badly formatted file fails the run at once instead
# of after a build of several minutes.
./scripts/check-format.sh
./scripts/build.sh
(
    cd "${BUILD_DIR:-build}"
    # Tests that need a display start their own Xvfb; the rest run on the offscreen platform.
    ctest --output-on-failure -j2
)
# Last, as it doubles the build time: a fault the plain tests already show is reported sooner.
./scripts/sanitize.sh
