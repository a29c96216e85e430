#!/usr/bin/env bash
# The reliability suite: builds build-sanitize/ with Clang, AddressSanitizer and UndefinedBehaviorSanitizer
# (any finding is fatal), runs every test that runs cleanly under them, then each fuzz target for
# FUZZ_SECONDS (default 30). Called by scripts/test.sh; VELLORIA_SANITIZE=0 there skips it.
set -euo pipefail
cd "$(dirname "$0")/.."
export QT_QPA_PLATFORM=offscreen
build=build-sanitize
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
      -DVELLORIA_SANITIZE=ON -DVELLORIA_FUZZ=ON -DVELLORIA_BUILD_BENCH=OFF >/dev/null
cmake --build "$build"
# Leaks are findings too, except inside the system libraries Qt loads (fontconfig, the platform plugin).
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1:detect_stack_use_after_return=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/sanitize/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The packaging tests check the install tree and the package, not memory: the normal suite runs them.
ctest --test-dir "$build" --output-on-failure -j2 -E "^install_"
tests/fuzz/run.sh "${FUZZ_SECONDS:-30}" "$build"
