#!/usr/bin/env bash
# Tests the Windows build of vkcfg under Wine against the native simulator on loopback:
#   wine_test.sh ARCH DIST TEST_EXE VKSIM WORK
# ARCH      i686 or x86_64
# DIST      the installed folder: bin/vkcfg.dll, lib/libvkcfg.dll.a, lib/vkcfg.def, include/vkcfg.h
# TEST_EXE  vkcfg_dll_test.exe of that target
# VKSIM     the native vksim program
# WORK      a folder of this test's own; the Wine prefix lives in WORK/../wineprefix, shared by both
#           targets (a 64-bit prefix runs 32-bit programs too)
#
# Runs the test program (dll_test.c) and a plain C program built against DIST alone (import library and
# header, as a user would), then checks the settings the simulator holds at the end. Wine runs quietly
# and without a display; every Wine command has a time limit, so a Wine that cannot start fails the
# test with a message instead of hanging it. Run it in a private network namespace (scripts/isolated.sh):
# the Wine server opens the sockets, so it must start in the same namespace as the simulator.
set -euo pipefail

arch="$1" dist="$2" test_exe="$3" vksim="$4" work="$5"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

fail() {
    echo "wine_test ($arch): $*" >&2
    exit 1
}

# ---- Wine: quiet, no display, a prefix of its own -----------------------------------------------------
export WINEDEBUG=-all
export WINEPREFIX
mkdir -p "$work"
WINEPREFIX="$(cd "$work/.." && pwd)/wineprefix"
export WINEDLLOVERRIDES="mscoree,mshtml="  # no offer to install Mono or Gecko
unset DISPLAY WAYLAND_DISPLAY
# Where the host runs no 32-bit code itself, 32-bit Wine runs under qemu-i386 (scripts/setup.sh sets
# that up). Wine then needs its 32-bit address space below 2 GiB reserved quickly: with qemu's default
# of 4 GiB each program spends a minute starting. Without qemu the variable means nothing.
export QEMU_RESERVED_VA=0x81000000

wine_dir=/usr/lib/wine
wine64="$(command -v wine64 || echo "$wine_dir/wine64")"
case "$arch" in
    i686) loader="$wine_dir/wine" ;;
    x86_64) loader="$wine64" ;;
    *) fail "unknown target $arch" ;;
esac
[ -x "$wine64" ] || fail "wine64 is missing (scripts/setup.sh installs wine, wine64 and wine32)"
[ -x "$loader" ] || fail "$loader is missing (scripts/setup.sh installs wine32 for the 32-bit DLL)"
wineserver="$(dirname "$(readlink -f "$wine64")")/wineserver"
[ -x "$wineserver" ] || wineserver="$(command -v wineserver)"

# Runs a Wine command with a time limit; its output goes to the file named first.
run_wine() {
    local limit="$1" log="$2"
    shift 2
    local status=0
    timeout -k 10 "$limit" "$@" >"$log" 2>&1 || status=$?
    if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
        cat "$log" >&2
        fail "Wine did not finish '$*' within $limit s: it failed to start or hung"
    fi
    return "$status"
}

stop_wine() { timeout 30 "$wineserver" -k >/dev/null 2>&1 || true; }

sim_pid=""
cleanup() {
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
    stop_wine
}
trap cleanup EXIT

# A server left from another run may belong to another network namespace.
stop_wine
if [ ! -f "$WINEPREFIX/.prefix-ready" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    run_wine 600 "$work.prefix.log" "$wine64" wineboot --init ||
        { cat "$work.prefix.log" >&2; fail "Wine could not create its prefix $WINEPREFIX"; }
    timeout 120 "$wineserver" -w || true
    [ -f "$WINEPREFIX/system.reg" ] || { cat "$work.prefix.log" >&2; fail "Wine made no prefix in $WINEPREFIX"; }
    touch "$WINEPREFIX/.prefix-ready"
fi

# ---- The installed folder, and a program built against it alone ---------------------------------------
rm -rf "$work" && mkdir -p "$work/run"
for f in bin/vkcfg.dll lib/libvkcfg.dll.a lib/vkcfg.def include/vkcfg.h; do
    [ -f "$dist/$f" ] || fail "the installed folder lacks $f"
done
cp "$dist/bin/vkcfg.dll" "$test_exe" "$work/run/"
triple="$arch-w64-mingw32"
cc="$(command -v "$triple-gcc-win32" || command -v "$triple-gcc")" || fail "no $triple C compiler"
"$cc" -std=c11 -Wall -Wextra -Wpedantic -Werror "$here/../install/consumer.c" -I"$dist/include" \
    -L"$dist/lib" -lvkcfg -o "$work/run/consumer.exe" || fail "a C program does not build against $dist"

# ---- The simulated devices ----------------------------------------------------------------------------
first=127.0.0.21 second=127.0.0.22 multi=127.0.0.23 extended=127.0.0.24 long=127.0.0.25 silent=127.0.0.29
"$vksim" --print-state \
    --device "model=VKA100,addr=$first,name=First" \
    --device "model=VKB200,addr=$second,name=Second,password=secret" \
    --device "model=VKB302,addr=$multi,name=Multi" \
    --device "model=EXT,addr=$extended,name=Extended" \
    --device "model=VKB200,addr=$long,name=Long,pad=3000" >"$work/sim.log" 2>&1 &
sim_pid=$!
for _ in $(seq 100); do grep -q 'vksim: ready' "$work/sim.log" && break; sleep 0.05; done
grep -q 'vksim: ready' "$work/sim.log" || { cat "$work/sim.log" >&2; fail "vksim did not start"; }

# ---- The tests ----------------------------------------------------------------------------------------
started=$SECONDS
status=0
(cd "$work/run" && run_wine 600 "$work/test.log" "$loader" vkcfg_dll_test.exe \
    "$first" "$second" "$multi" "$extended" "$long" "$silent") || status=$?
cat "$work/test.log"
[ "$status" -eq 0 ] || fail "vkcfg_dll_test.exe failed (exit status $status)"
status=0
(cd "$work/run" && run_wine 300 "$work/consumer.log" "$loader" consumer.exe "$multi") || status=$?
cat "$work/consumer.log"
[ "$status" -eq 0 ] || fail "the program built against the installed folder failed (exit status $status)"
echo "wine_test ($arch): the programs ran in $((SECONDS - started)) s"

# ---- What the simulated devices hold at the end -------------------------------------------------------
kill "$sim_pid" && wait "$sim_pid" || true
sim_pid=""
grep -c '^expect-state:' "$work/test.log" >/dev/null || fail "the test program named no settings to check"
missing=0
while read -r _ addr_word expected; do
    state="$(grep "^state: .* addr=${addr_word#addr=} " "$work/sim.log" || true)"
    for word in $expected; do
        if [[ " $state " != *" $word "* ]]; then
            echo "the device at ${addr_word#addr=} does not hold $word: ${state:-no state}" >&2
            missing=1
        fi
    done
done < <(grep '^expect-state:' "$work/test.log" | tr -d '\r')  # Windows line ends
[ "$missing" -eq 0 ] || fail "the simulator does not hold what was written"
echo "wine_test ($arch): passed"
