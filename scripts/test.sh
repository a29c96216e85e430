#!/usr/bin/env bash
# Installs what is missing, builds Velloria and runs every test, then each benchmark once at a small size,
# then the sanitizer suite and the fuzz targets.
set -euo pipefail
cd "$(dirname "$0")/.."
# Widget tests and benchmarks draw off screen; test discovery at build time needs this too.
export QT_QPA_PLATFORM=offscreen
scripts/install-deps.sh
scripts/build.sh
ctest --test-dir build --output-on-failure -j2
bench/smoke.sh build
# Then the same tests under AddressSanitizer and UndefinedBehaviorSanitizer, the fuzz targets and the
# kill-during-save test (scripts/sanitize.sh); VELLORIA_SANITIZE=0 skips them for a quick local run.
if [ "${VELLORIA_SANITIZE:-1}" != 0 ]; then
    scripts/sanitize.sh
fi
