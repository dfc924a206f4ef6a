#!/usr/bin/env bash
# vkctl search --interface and vkctl interfaces on a workstation with two network interfaces in two
# subnets and simulated devices behind each, plus a third interface whose cable leads to devices of a
# subnet the workstation does not have. Everything runs in network namespaces that this script makes:
# the workstation's own (unshare) and one per subnet, joined by veth pairs; nothing reaches the
# machine's own interfaces. Exits 77 (skipped) with the reason where namespaces cannot be made.
# Usage: interfaces_netns_test.sh VKCTL VKSIM
set -uo pipefail
vkctl=$1
vksim=$2

if [[ "${VKCTL_NETNS_TEST_INSIDE:-}" != 1 ]]; then
    for how in -n -rn; do
        if unshare "$how" true 2>/dev/null; then
            VKCTL_NETNS_TEST_INSIDE=1 exec unshare "$how" "$0" "$@"
        fi
    done
    echo "SKIPPED: no private network namespace can be made here (unshare -n and unshare -rn refused)"
    exit 77
fi
for tool in ip nsenter; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: the command $tool is missing"; exit 77; }
done

work=$(mktemp -d)
started=()
cleanup() {
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

ip link set lo up || { echo "SKIPPED: loopback cannot be set up in the namespace"; exit 77; }

# A namespace for one subnet's devices, held by a sleeping process; prints the holder's pid (the
# caller stops it).
device_namespace() {
    unshare -n sleep 600 >/dev/null 2>&1 &
    local holder=$!
    # The holder has its namespace once its namespace differs from this one.
    for _ in $(seq 200); do
        [[ "$(readlink "/proc/$holder/ns/net")" != "$(readlink /proc/$$/ns/net)" ]] && break
        sleep 0.01
    done
    echo "$holder"
}

# subnet WS_IF WS_CIDR BROADCAST DEVICE_WORDS... : the workstation's interface WS_IF with WS_CIDR, its
# peer in a new namespace carrying the devices' addresses, and vksim there answering broadcasts that
# arrive at BROADCAST.
subnet() {
    local ws_if=$1 ws_cidr=$2 broadcast=$3
    shift 3
    local holder peer="p$ws_if"
    holder=$(device_namespace)
    started+=("$holder")
    ip link add "$ws_if" type veth peer name "$peer" || return 1
    ip link set "$peer" netns "$holder" || return 1
    ip addr add "$ws_cidr" brd + dev "$ws_if" && ip link set "$ws_if" up || return 1
    local setup="ip link set lo up && ip link set $peer up"
    local args=()
    for words in "$@"; do
        local addr=${words#*addr=}
        addr=${addr%%,*}
        setup+=" && ip addr add $addr/24 brd + dev $peer"
        args+=(--device "$words")
    done
    nsenter -t "$holder" -n sh -c "$setup" || return 1
    nsenter -t "$holder" -n "$vksim" --allow-non-loopback --broadcast "$broadcast" --duration 120 "${args[@]}" \
        >"$work/$ws_if.log" 2>&1 &
    started+=("$!")
    for _ in $(seq 300); do
        grep -q "vksim: ready" "$work/$ws_if.log" && return 0
        sleep 0.01
    done
    cat "$work/$ws_if.log"
    return 1
}

# Each vksim numbers its own devices from the same MAC on: the MACs are given.
subnet eth1 10.9.5.1/24 10.9.5.255 model=VKA100,addr=10.9.5.10,name=a-text,mac=00:1a:2b:05:00:10 \
    model=VKB302,addr=10.9.5.11,name=a-multi,mac=00:1a:2b:05:00:11 ||
    { echo "SKIPPED: the first subnet cannot be made (veth pairs or nsenter refused)"; exit 77; }
subnet eth2 10.9.6.1/24 10.9.6.255 model=VKB200,addr=10.9.6.10,name=b-single,mac=00:1a:2b:06:00:10 \
    model=VKA100,addr=10.9.6.11,name=b-text,mac=00:1a:2b:06:00:11 ||
    { fail "the second subnet cannot be made"; exit 1; }
# eth3 is 10.9.8.0/24 on the workstation's side; the devices behind it are in 10.9.7.0/24.
subnet eth3 10.9.8.1/24 10.9.7.255 model=VKA100,addr=10.9.7.10,name=c-text,mac=00:1a:2b:07:00:10 ||
    { fail "the third subnet cannot be made"; exit 1; }

# The row of a table whose line holds the text.
row() { grep -F -- "$2" "$1"; }

# vkctl interfaces: every address with netmask and broadcast address.
"$vkctl" interfaces >"$work/interfaces.txt" 2>&1 || fail "vkctl interfaces failed: $(cat "$work/interfaces.txt")"
for expected in "eth1 10.9.5.1 255.255.255.0 10.9.5.255 up" "eth2 10.9.6.1 255.255.255.0 10.9.6.255 up" \
    "eth3 10.9.8.1 255.255.255.0 10.9.8.255 up"; do
    [[ "$(awk -v n="${expected%% *}" '$1 == n { print $1, $2, $3, $4, $5 }' "$work/interfaces.txt")" == "$expected" ]] ||
        fail "vkctl interfaces: no line \"$expected\" in: $(cat "$work/interfaces.txt")"
done

# --interface all: the devices of both subnets, each with the interface it answered through; nothing
# of the subnet the workstation does not have, and a hint naming the interface that heard nothing.
"$vkctl" search --interface all --rounds 2 >"$work/all.txt" 2>"$work/all.err" ||
    fail "search --interface all failed: $(cat "$work/all.err")"
for pair in a-text:eth1 a-multi:eth1 b-single:eth2 b-text:eth2; do
    name=${pair%:*} interface=${pair#*:}
    line=$(row "$work/all.txt" "$name")
    [[ "$line" == *"  $interface" ]] || fail "search --interface all: $name not listed through $interface: $(cat "$work/all.txt")"
done
[[ $(wc -l <"$work/all.txt") -eq 5 ]] || fail "search --interface all: not a header and four rows: $(cat "$work/all.txt")"
row "$work/all.txt" c-text >/dev/null && fail "search --interface all listed a device of a subnet the workstation does not have"
grep -qxF "vkctl: Local search through eth1 (10.9.5.255), eth2 (10.9.6.255), eth3 (10.9.8.255)." "$work/all.err" ||
    fail "search --interface all: no line naming the addresses: $(cat "$work/all.err")"
grep -qxF "vkctl: No device answered the local search through eth3 (broadcast address 10.9.8.255). Check that the network interface is up and that a firewall lets UDP datagrams in on port 65281." "$work/all.err" ||
    fail "search --interface all: no hint for eth3: $(cat "$work/all.err")"
[[ $(wc -l <"$work/all.err") -eq 2 ]] || fail "search --interface all: stderr holds more than two lines: $(cat "$work/all.err")"

# One interface finds only the devices of its own subnet; JSON rows name it.
"$vkctl" search --interface eth2 --rounds 1 --json >"$work/eth2.json" 2>"$work/eth2.err" ||
    fail "search --interface eth2 failed: $(cat "$work/eth2.err")"
[[ $(grep -c '"interface": "eth2"' "$work/eth2.json") -eq 2 ]] || fail "search --interface eth2: not two rows through eth2: $(cat "$work/eth2.json")"
grep -q 'a-text\|a-multi\|c-text' "$work/eth2.json" && fail "search --interface eth2 listed a device of another subnet"
grep -q '"device_name": "b-single"' "$work/eth2.json" || fail "search --interface eth2: b-single missing: $(cat "$work/eth2.json")"

# The library's own broadcast address (loopback here) reaches none of them.
"$vkctl" search --rounds 1 >"$work/own.txt" 2>"$work/own.err"
[[ $(wc -l <"$work/own.txt") -eq 1 ]] || fail "search without --interface reached a subnet: $(cat "$work/own.txt")"

if ((failures > 0)); then
    echo "$failures failure(s)"
    exit 1
fi
echo "PASS: vkctl found the devices through each interface and only there"
