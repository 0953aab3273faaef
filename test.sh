#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless. There is one build, out-asan:
# every library, program and test compiled once with AddressSanitizer and
# UndefinedBehaviorSanitizer, so the Qt shells and the programs the end-to-end tests start are
# checked as well as the Qt-free core. Benchmarks are not built here (./bench.sh does).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
zbx_install_deps
source scripts/ccache.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
# Qt and fontconfig keep a few allocations for the life of the process; only our own leaks count.
export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

start=$SECONDS
# Line tables are all a sanitizer report needs; full debug information doubles compile and link time.
cmake -S . -B out-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DZBX_SANITIZE=ON -DZBX_BENCH=OFF "${ZBX_CCACHE_ARGS[@]}" >/dev/null
cmake --build out-asan -j"$jobs"
echo "Build took $((SECONDS - start)) s."
ctest --test-dir out-asan --output-on-failure -j"$jobs" --timeout 600
echo "Build and tests took $((SECONDS - start)) s."
