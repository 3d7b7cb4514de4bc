#!/usr/bin/env bash
# Runs the crash harness with many trials per operation (default 200; the test command runs
# 20): each trial kills an operation at a random moment or at its Nth write, fsync or rename.
# Usage: scripts/crash-trials.sh [TRIALS]. Needs a build (scripts/build.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
ninja -C "$BUILD_DIR" test_crash test_crash_child qz_crashshim >/dev/null
QZ_CRASH_TRIALS=${1:-200} "$BUILD_DIR/tests/test_crash"
