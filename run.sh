#!/usr/bin/env bash
# Installs what is missing, builds, and starts zbxedit on the staged application folder with the
# bundled example program open. Without a display it runs under xvfb-run, saves a screenshot of
# the main window to out/screenshot.png and ends.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
zbx_install_deps
source scripts/ccache.sh

cmake -S . -B out -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${ZBX_CCACHE_ARGS[@]}" >/dev/null
cmake --build out -j"$(nproc)"

example="$PWD/data/examples/THERMO.BAS"
app="$PWD/out/app/zbxedit"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set): starting zbxedit under xvfb-run."
    rm -f out/screenshot.png
    ZBX_SCREENSHOT="$PWD/out/screenshot.png" ZBX_SCREENSHOT_QUIT=1 \
        xvfb-run -a -s "-screen 0 1280x1024x24" "$app" "$example"
    if [ -f out/screenshot.png ]; then
        echo "Screenshot of the main window: out/screenshot.png"
    else
        echo "zbxedit ended before a screenshot was taken" >&2
        exit 1
    fi
else
    exec "$app" "$example"
fi
