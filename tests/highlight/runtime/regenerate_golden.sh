#!/usr/bin/env bash
# Rewrites data/*.tokens from the current tokeniser. Review the diff before committing; the
# tests never run this.
set -euo pipefail
build="${1:-out}"
ZBX_REGENERATE_GOLDEN=1 "$build/tests/highlight/runtime/highlight_runtime_tests" --gtest_filter='*GoldenDump*:*FuzzSeeds*'
