#!/usr/bin/env bash
# Runs a command in a private network namespace of its own (only a loopback interface, brought up), so
# that nothing it sends can leave the machine and several runs never contend for the same UDP ports.
# As root the namespace is made directly (unshare -n); a user who is not root gets one inside a user
# namespace of their own (unshare -rn, where the kernel allows unprivileged user namespaces). Only where
# neither can be made does the command run directly, on the host's loopback, with a note on stderr.
set -euo pipefail
for how in -n -rn; do
    if unshare "$how" true 2>/dev/null; then
        exec unshare "$how" bash -c 'ip link set lo up && exec "$@"' bash "$@"
    fi
done
echo "isolated.sh: no private network namespace available; running on the host's loopback" >&2
exec "$@"
