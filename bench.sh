#!/usr/bin/env bash
# Builds and runs the benchmarks. Extra arguments go to every benchmark program
# (for example --benchmark_filter=Load).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
zbx_install_deps
source scripts/ccache.sh
cmake -S . -B out -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${ZBX_CCACHE_ARGS[@]}" >/dev/null
cmake --build out -j"$(nproc)"
for b in out/bench/*/bench_*; do
    [ -x "$b" ] || continue
    echo "== $b"
    "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
done
