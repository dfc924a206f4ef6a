#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (benchmarks excluded: ctest -L bench runs them).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
install_packages
build_all
# In a private network namespace where possible: nothing leaves the machine, and other runs on the same
# machine cannot take the library's fixed port from under the tests.
"$ROOT/scripts/isolated.sh" ctest --test-dir "$BUILD" --label-exclude bench --output-on-failure --timeout 300
