#!/usr/bin/env bash
# Runs a command in a private network namespace of its own (only a loopback interface, brought up), so
# that nothing it sends can leave the machine and several runs never contend for the same UDP ports.
# Falls back to running the command directly where namespaces cannot be created (no privilege).
set -euo pipefail
if unshare -n true 2>/dev/null; then
    exec unshare -n bash -c 'ip link set lo up && exec "$@"' bash "$@"
fi
echo "isolated.sh: no private network namespace available; running on the host's loopback" >&2
exec "$@"
