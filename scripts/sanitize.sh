#!/usr/bin/env bash
# Builds a second tree, build-asan/, with the address and undefined-behaviour sanitizers and
# runs there every test that needs no X server (the tests labelled x11 are left out), and of
# the tests on the PostgreSQL server only the engine's own. Any
# sanitizer report fails the run, also one from a program a test starts.
# Arguments go to ctest (-R NAME, -V). Environment: ASAN_BUILD_DIR (default build-asan),
# QZ_SANITIZE_BUILD_TYPE (default Debug), QZ_CMAKE_ARGS (more cmake options).
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh

dir=${ASAN_BUILD_DIR:-build-asan}
case $dir in /*) ;; *) dir=$PWD/$dir ;; esac
# Debug: the tests run in seconds even at -O0, and the tree builds faster than with -O2.
BUILD_DIR=$dir QZ_BUILD_TYPE=${QZ_SANITIZE_BUILD_TYPE:-Debug} \
    QZ_CMAKE_ARGS="-DQZ_SANITIZE=ON ${QZ_CMAKE_ARGS:-}" ./scripts/build.sh

reports=$dir/sanitizer-reports
rm -rf "$reports"
mkdir -p "$reports"
# ASan writes its reports to files named by process id, so a report from a program whose
# output a test captures is still seen. UBSan, linked as a runtime of its own next to ASan,
# does not follow log_path: its reports go to stderr, and halt_on_error with an exit code no
# program of ours uses makes the process that hit one fail.
# Leaks are checked: on the offscreen platform Qt leaves no leak reports behind. Under the
# xcb platform (the x11 tests, not run here) libdbus keeps one block to the end; that one is
# suppressed in case a test here ever loads it.
printf 'leak:libdbus-1.so\n' >"$dir/lsan.supp"
export LSAN_OPTIONS="suppressions=$dir/lsan.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1:exitcode=86:log_path=$reports/asan:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1:exitcode=87"

status=0
# The crash harness preloads its shim into the children, which the address sanitizer refuses
# (its runtime must come first); the plain build runs it.
# The second runs of test programs on the server (NAME_pg) repeat code the first runs cover;
# the server engine's own tests stay.
(cd "$dir" && ctest --output-on-failure -j2 -LE 'x11|crash' -E '_pg$' "$@") || status=$?

found=0
for f in "$reports"/asan.*; do
    [ -e "$f" ] || continue
    grep -q 'Sanitizer' "$f" || continue
    found=$((found + 1))
    if [ $found -le 5 ]; then
        echo "ASan report $f:" >&2
        sed -n '/Sanitizer/,/^SUMMARY/p' "$f" | head -n 40 >&2
    else
        echo "ASan report $f" >&2
    fi
done
# ctest keeps every test's output, passed or not: a UBSan report in one that still passed
# (a test that expects its child to fail, say) is a failure too.
if grep -q 'runtime error:' "$dir/Testing/Temporary/LastTest.log" 2>/dev/null; then
    found=1
    echo "UBSan reports in the test output ($dir/Testing/Temporary/LastTest.log):" >&2
    grep -A 6 'runtime error:' "$dir/Testing/Temporary/LastTest.log" | head -n 60 >&2
fi
if [ $found -ne 0 ]; then
    echo "sanitize.sh: sanitizer reports found" >&2
    exit 1
fi
if [ $status -ne 0 ]; then
    exit $status
fi
echo "sanitizers ok: no report from any test without the x11 label"
