#!/usr/bin/env bash
# Installs what is missing, builds, starts the simulator's demo network on loopback (one device of
# every model) and lists what vkctl's searches find there.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
install_packages
build_all

log="$(mktemp)"
"$BUILD/sim/vksim" --demo >"$log" 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null; wait $sim 2>/dev/null; rm -f "$log"' EXIT
for _ in $(seq 100); do
    grep -q 'vksim: ready' "$log" && break
    kill -0 $sim 2>/dev/null || { cat "$log"; exit 1; }
    sleep 0.05
done
echo "Simulated devices (vksim --demo, broadcasts at $VKCFG_BROADCAST):"
sed '/vksim: ready/d' "$log"
echo
echo "vkctl search --extended:"
"$BUILD/tools/vkctl/vkctl" search --extended
