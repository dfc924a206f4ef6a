#!/usr/bin/env bash
# Installs vkcfg into a temporary prefix, builds a plain-C consumer against the installed header and
# library (once through pkg-config, once through find_package) and runs both against a simulated
# device on loopback.
set -euo pipefail
build="$1" source="$2" vksim="$3"
work="$(mktemp -d)"
sim=""
cleanup() { [ -n "$sim" ] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
pc="$(dirname "$(find "$work/prefix" -name vkcfg.pc)")"
libdir="$(PKG_CONFIG_PATH="$pc" pkg-config --variable=libdir vkcfg)"
test -L "$libdir/libvkcfg.so" && test -e "$libdir/libvkcfg.so.1" || { echo "no versioned library"; exit 1; }
readelf -d "$libdir/libvkcfg.so" | grep -q 'SONAME.*libvkcfg.so.1' || { echo "no SONAME"; exit 1; }

cc -std=c11 -Wall -Wextra -Wpedantic -Werror "$source/consumer.c" -o "$work/consumer-pc" \
    $(PKG_CONFIG_PATH="$pc" pkg-config --cflags --libs vkcfg)
cmake -S "$source" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/cmake-build" >/dev/null

"$vksim" --device model=VKB200,addr=127.0.0.60,name=Installed >"$work/sim.log" 2>&1 &
sim=$!
for _ in $(seq 100); do grep -q 'vksim: ready' "$work/sim.log" && break; sleep 0.05; done
grep -q 'vksim: ready' "$work/sim.log" || { cat "$work/sim.log"; exit 1; }

LD_LIBRARY_PATH="$libdir" "$work/consumer-pc" 127.0.0.60
"$work/cmake-build/consumer" 127.0.0.60  # the package's imported target carries the library's path
