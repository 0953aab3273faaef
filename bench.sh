#!/usr/bin/env bash
# Builds and runs the benchmarks, then the side-by-side harness against the peer editor
# components (bench/peers/run.sh), whose packages only this script installs. Extra arguments
# go to every benchmark program (for example --benchmark_filter=Load).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
ZBX_PACKAGES+=(libqscintilla2-qt6-dev libkf5texteditor-dev)
zbx_install_deps
source scripts/ccache.sh
cmake -S . -B out -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${ZBX_CCACHE_ARGS[@]}" >/dev/null
cmake --build out -j"$(nproc)"
cmake -S bench/peers/ktexteditor -B out/peers-kte -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build out/peers-kte -j"$(nproc)"
for b in out/bench/*/bench_*; do
    [ -x "$b" ] || continue
    echo "== $b"
    "$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true "$@"
done
echo "== side by side with the peers"
bench/peers/run.sh out
