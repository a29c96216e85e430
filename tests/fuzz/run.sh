#!/usr/bin/env bash
# Runs every fuzz target for SECONDS (default 30) each, from its seed corpus, and fails on any finding.
# FUZZ_SEED sets libFuzzer's seed (default 1, so that a CI run can be repeated; 0 picks one at random).
#   tests/fuzz/run.sh [SECONDS] [BUILD_DIR]
# BUILD_DIR is a tree configured with -DVELLORIA_FUZZ=ON (scripts/sanitize.sh makes build-sanitize).
# New inputs found go to a scratch corpus, never into the repository; a crashing input is kept in
# BUILD_DIR/fuzz-findings/ and printed.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
seconds=${1:-30}
build=${2:-$here/../../build-sanitize}
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}
findings=$build/fuzz-findings
mkdir -p "$findings"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
for target in $(find "$build/tests/fuzz" -maxdepth 1 -type f -name 'fuzz_*' -perm -u+x | sort); do
    name=$(basename "$target"); name=${name#fuzz_}
    mkdir -p "$scratch/$name"
    args=(-max_total_time="$seconds" -seed="${FUZZ_SEED:-1}" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1
          -artifact_prefix="$findings/$name-")
    [ -f "$here/dict/$name.dict" ] && args+=(-dict="$here/dict/$name.dict")
    echo "== fuzz $name for ${seconds}s"
    if ! "$target" "${args[@]}" "$scratch/$name" "$here/corpus/$name" >"$scratch/$name.log" 2>&1; then
        echo "fuzz target $name found a fault:"; tail -60 "$scratch/$name.log"; status=1
    else
        grep -E "^stat::number_of_executed_units|^#[0-9]+.*DONE" "$scratch/$name.log" | tail -2 || true
    fi
done
exit $status
