#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs the Debian packages the build needs (only those missing),
# then configures and builds everything with CMake and Ninja into build/.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TORVANE_BUILD_DIR:-$ROOT/build}"

PACKAGES=(
    build-essential cmake ninja-build pkg-config git iproute2 util-linux
    libgtest-dev libgmock-dev libcli11-dev nlohmann-json3-dev
    qt6-base-dev            # Qt 6 Widgets, Network and Test for torvane
    fonts-wqy-microhei      # a font with the Chinese texts of the window (status bar), also offscreen
)

install_packages() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

build_all() {
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-RelWithDebInfo}"
    cmake --build "$BUILD" --parallel
}

# Nothing the project runs may broadcast off loopback.
export VKCFG_BROADCAST="${VKCFG_BROADCAST:-127.255.255.255}"
