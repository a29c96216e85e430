#!/usr/bin/env bash
# Installs what is missing, builds Velloria and starts it on a list file (by default examples/sample.vlt).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
exec build/src/app/velloria "${1:-examples/sample.vlt}"
