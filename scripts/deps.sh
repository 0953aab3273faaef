#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the programs need, and nothing that is
# already there. Sourced by run.sh, test.sh and bench.sh.
set -euo pipefail

ZBX_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    xvfb xauth fonts-liberation fonts-dejavu-core
    gputils srecord ccache libpcre2-dev
    desktop-file-utils appstream xdotool
    poppler-utils # the printing tests read the PDFs they print with pdftotext and pdftoppm
)

zbx_missing_packages() {
    local pkg
    for pkg in "${ZBX_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
            printf '%s\n' "$pkg"
        fi
    done
}

zbx_install_deps() {
    local missing
    missing=$(zbx_missing_packages)
    [ -z "$missing" ] && return 0
    echo "Installing: $(echo $missing | tr '\n' ' ')"
    local sudo=""
    if [ "$(id -u)" -ne 0 ]; then
        command -v sudo >/dev/null || { echo "Need root or sudo to install: $missing" >&2; exit 1; }
        sudo="sudo"
    fi
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    # shellcheck disable=SC2086
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
}
