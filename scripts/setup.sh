#!/usr/bin/env bash
# Shared by run.sh and test.sh: installs the Debian packages the build needs (only those missing),
# then configures and builds everything with CMake and Ninja into build/.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="${TORVANE_BUILD_DIR:-$ROOT/build}"
SAN_BUILD="${TORVANE_SAN_BUILD_DIR:-$ROOT/build-san}"

PACKAGES=(
    build-essential cmake ninja-build pkg-config git iproute2 util-linux
    libgtest-dev libgmock-dev libcli11-dev nlohmann-json3-dev
    qt6-base-dev            # Qt 6 Widgets, Network and Test for torvane
    fonts-wqy-microhei      # a font with the Chinese texts of the window (status bar), also offscreen
    clang libclang-rt-dev llvm  # the sanitizer build: clang, libFuzzer and the sanitizer runtimes, symbolizer
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

# The AddressSanitizer + UndefinedBehaviorSanitizer build of the library, vksim, vkctl and the manager
# core with their tests (no GUI: Qt's own allocations would drown the leak checker). With clang it also
# builds the libFuzzer targets; with another compiler the sanitizers alone.
build_sanitized() {
    local options=(-DTORVANE_SANITIZE=ON -DTORVANE_BUILD_GUI=OFF -DTORVANE_BUILD_BENCH=OFF)
    if command -v clang++ >/dev/null && command -v clang >/dev/null; then
        options+=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DTORVANE_FUZZ=ON)
    fi
    cmake -S "$ROOT" -B "$SAN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${options[@]}"
    cmake --build "$SAN_BUILD" --parallel
}

# How the sanitized programs report: stop at the first error with a stack, leaks checked at exit, only
# third-party frames suppressed.
export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1:strict_string_checks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
export LSAN_OPTIONS="${LSAN_OPTIONS:-suppressions=$ROOT/scripts/lsan.supp:print_suppressions=0}"

# Nothing the project runs may broadcast off loopback.
export VKCFG_BROADCAST="${VKCFG_BROADCAST:-127.255.255.255}"
