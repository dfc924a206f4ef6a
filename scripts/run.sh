#!/usr/bin/env bash
# Installs what is missing, builds, starts the simulator's demo network on loopback (one device of
# every model, published in the shared device table as well) and opens Torvane against it. Without a
# display it lists what the searches find instead.
#
# The session runs in a private network namespace (scripts/isolated.sh) when the display can be
# reached from there: a Wayland socket or an X11 unix socket in /tmp/.X11-unix can, a TCP display
# (ssh forwarding, host:N) cannot, and then the session runs on the host's loopback. Nothing is ever
# sent off loopback: devices live on 127.0.0.0/8 and broadcasts go to 127.255.255.255.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

has_display() {
    [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]
}

# True when a namespace with its own network still reaches the display (or there is none to reach).
display_reachable_in_namespace() {
    has_display || return 0
    [ -n "${WAYLAND_DISPLAY:-}" ] && return 0
    [[ "${DISPLAY:-}" =~ ^(unix)?:([0-9]+) ]] && [ -S "/tmp/.X11-unix/X${BASH_REMATCH[2]}" ]
}

# The text listing of what the searches find, for machines without a display.
list_devices() {
    echo "vkctl search --extended:"
    "$BUILD/tools/vkctl/vkctl" search --extended
}

session() {
    log="$(mktemp)"
    "$BUILD/sim/vksim" --demo --publish-table >"$log" 2>&1 &
    sim=$!
    trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null; rm -f "$log"' EXIT
    trap 'exit 130' INT TERM  # the EXIT trap then ends the simulator too
    for _ in $(seq 100); do
        grep -q 'vksim: ready' "$log" && break
        kill -0 $sim 2>/dev/null || { cat "$log"; exit 1; }
        sleep 0.05
    done
    images="$BUILD/demo-images"
    "$BUILD/sim/vksim" --write-images "$images" >/dev/null
    echo "Simulated devices (vksim --demo --publish-table, broadcasts at $VKCFG_BROADCAST):"
    sed '/vksim: ready/d' "$log"
    echo
    if has_display; then
        echo "Opening Torvane ($BUILD/manager/app/torvane); close its window to end."
        echo "Double-click the VKB220 or the time device (EXT) to see and change its parameters."
        echo "To update a device's firmware: select it, then Tools(&T) > Update..., and pick its image"
        echo "from $images (MODEL.bin, written by vksim --write-images)."
        "$BUILD/manager/app/torvane"
    else
        echo "No display: listing what the searches find."
        list_devices
    fi
}

if [ "${1:-}" = "--session" ]; then
    session
    exit
fi

install_packages
build_all
if display_reachable_in_namespace; then
    exec "$ROOT/scripts/isolated.sh" "$ROOT/scripts/run.sh" --session
fi
session
