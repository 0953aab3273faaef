#!/usr/bin/env bash
# Installs what is missing, builds and runs every test headless: first the full build, then the
# Qt-free libraries and their tests under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
zbx_install_deps

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B out -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build out -j"$jobs"
ctest --test-dir out --output-on-failure -j"$jobs" --timeout 300

export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
cmake -S . -B out-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZBX_QT=OFF -DZBX_SANITIZE=ON -DZBX_BENCH=OFF >/dev/null
cmake --build out-asan -j"$jobs"
ctest --test-dir out-asan --output-on-failure -j"$jobs" --timeout 600
