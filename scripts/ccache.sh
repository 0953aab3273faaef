#!/usr/bin/env bash
# Sourced by the build scripts: sets ZBX_CCACHE_ARGS to the CMake arguments that compile through
# ccache when it is installed. Paths are hashed relative to the checkout, so a fresh clone in
# another folder (as CI makes) reuses what an earlier build compiled.
ZBX_CCACHE_ARGS=()
if command -v ccache >/dev/null; then
    export CCACHE_BASEDIR="$PWD"
    export CCACHE_NOHASHDIR=1
    ZBX_CCACHE_ARGS=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
