#!/usr/bin/env bash
# Configures and builds everything into build/ (executables in build/bin/).
# Arguments go to ninja (targets, -j N). Environment: BUILD_DIR (default build), QZ_BUILD_TYPE
# (default RelWithDebInfo), QZ_CMAKE_ARGS (more cmake options, split on spaces).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
mkdir -p "$BUILD_DIR"
log=$BUILD_DIR/configure.log
# cmake's progress lines go to the log; its warnings and errors (stderr) stay on the terminal.
# shellcheck disable=SC2086 # QZ_CMAKE_ARGS is a list of options
if ! cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE="${QZ_BUILD_TYPE:-RelWithDebInfo}" \
    ${QZ_CMAKE_ARGS:-} >"$log"; then
    # The lines before the error (a package pkg-config did not find, for one) are in the log.
    echo "build.sh: cmake could not configure $BUILD_DIR. The end of its output ($log):" >&2
    tail -n 40 "$log" >&2
    exit 1
fi
# What this build leaves out, and why (the benchmarks without Google Benchmark), stays visible.
grep -i 'left out' "$log" | sed 's/^-- //' || true
ninja -C "$BUILD_DIR" "$@"
