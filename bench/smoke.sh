#!/usr/bin/env bash
# Runs every benchmark program once at a small size, as a smoke test (CI). Full-size runs: see bench/README.md.
set -euo pipefail
build=${1:-build}
export VELLORIA_BENCH_SMALL=1
status=0
for b in $(find "$build/bench" -type f -name 'bench_*' -perm -u+x 2>/dev/null | sort); do
    echo "== $b (small)"
    if ! "$b" --benchmark_min_time=0.01 >/dev/null 2>"$b.smoke.log"; then
        echo "benchmark failed: $b"; cat "$b.smoke.log"; status=1
    fi
done
exit $status
