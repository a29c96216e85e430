#!/usr/bin/env bash
# Installs what is missing, builds Velloria and runs every test, then each benchmark once at a small size.
set -euo pipefail
cd "$(dirname "$0")/.."
# Widget tests and benchmarks draw off screen; test discovery at build time needs this too.
export QT_QPA_PLATFORM=offscreen
scripts/install-deps.sh
scripts/build.sh
ctest --test-dir build --output-on-failure -j2
if [ -x bench/smoke.sh ]; then
    bench/smoke.sh build
fi
