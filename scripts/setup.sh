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
    xvfb openbox x11-utils  # the GUI tests on a real X server with a window manager (scripts/with_xvfb.sh)
)

# The cross builds of the Windows DLL and their tests under Wine (scripts/test.sh): MinGW-w64 for both
# targets, and Wine with its 32-bit half from Debian's i386 architecture. Recommended packages are left
# out: a Wine without a display needs none of its fonts, sound or media libraries.
WINDOWS_PACKAGES=(
    g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32
    wine wine64 wine32:i386
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# apt_install_missing [APT-GET OPTIONS] -- PACKAGES: installs those of the packages that are missing.
apt_install_missing() {
    local options=()
    while [ "$1" != "--" ]; do
        options+=("$1")
        shift
    done
    shift
    local missing=()
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${options[@]}" "${missing[@]}"
}

install_packages() {
    apt_install_missing -- "${PACKAGES[@]}"
}

install_windows_tools() {
    dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
    apt_install_missing --no-install-recommends -- "${WINDOWS_PACKAGES[@]}"
    enable_32bit_programs
}

# Wine runs a 32-bit Windows program in a 32-bit Linux process. Some hosts run no 32-bit code (a kernel
# without IA-32 emulation, or a hypervisor that runs 64-bit user code only): there qemu-i386 runs those
# processes, through a binfmt_misc entry registered here once.
enable_32bit_programs() {
    /usr/lib/wine/wine --version >/dev/null 2>&1 && return 0
    echo "This host runs no 32-bit programs: they will run under qemu-i386"
    apt_install_missing --no-install-recommends -- qemu-user-static
    local binfmt=/proc/sys/fs/binfmt_misc
    [ -e "$binfmt/register" ] || as_root mount -t binfmt_misc binfmt_misc "$binfmt"
    if [ ! -e "$binfmt/qemu-i386" ]; then
        # 32-bit x86 ELF executables and shared objects; "F": qemu is opened now, so it also serves
        # inside namespaces and chroots.
        printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' |
            as_root tee "$binfmt/register" >/dev/null
    fi
    /usr/lib/wine/wine --version >/dev/null 2>&1 ||
        echo "warning: 32-bit programs still do not run here; the Wine test of the i686 DLL will fail" >&2
}

# build_all [CMAKE OPTIONS]
build_all() {
    cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-RelWithDebInfo}" "$@"
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
