#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (benchmarks excluded: ctest -L bench runs them).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
install_packages
build_all
ctest --test-dir "$BUILD" --label-exclude bench --output-on-failure --timeout 300
