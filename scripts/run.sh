#!/usr/bin/env bash
# Installs what is missing, builds Velloria and starts it (with an optional list file).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
if [ -x build/src/app/velloria ]; then
    exec build/src/app/velloria "$@"
fi
# Until the main window exists, show the sample list as a tree.
exec build/src/cli/velloria-cli ls "${1:-examples/sample.vlt}"
