#!/usr/bin/env bash
# scripts/isolated.sh gives the command a network namespace of its own, with only a loopback
# interface that is up, for root and for a user who is not root (run as "nobody" when the test runs
# as root). Exits 77 (skipped) where the kernel lets no such user make a user namespace.
set -euo pipefail
isolated="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/isolated.sh"
outer=$(readlink /proc/self/ns/net)

# One line: the namespace, the number of interfaces, and whether loopback is up.
probe='echo "$(readlink /proc/self/ns/net) $(ip -o link show | wc -l) $(ip -o link show lo | grep -c "[<,]UP[,>]")"'

check() {
    local who="$1"
    shift
    local seen
    seen=$("$@" "$isolated" bash -c "$probe" 2>&1) || { echo "FAIL ($who): $seen"; return 1; }
    read -r ns interfaces lo_up <<<"$seen"
    if [ "$ns" = "$outer" ] || [ "$interfaces" != 1 ] || [ "$lo_up" != 1 ]; then
        echo "FAIL ($who): namespace $ns (outer $outer), $interfaces interfaces, loopback up: $lo_up"
        return 1
    fi
    echo "ok ($who): own namespace, loopback only and up"
}

if [ "$(id -u)" -eq 0 ]; then
    check root
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
else
    as_user=()
fi
if ! "${as_user[@]}" unshare -rn true 2>/dev/null; then
    echo "skipped: users who are not root cannot make user namespaces on this kernel"
    exit 77
fi
check "uid $("${as_user[@]}" id -u)" "${as_user[@]}"
