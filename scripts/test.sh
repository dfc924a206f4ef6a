#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (benchmarks excluded: ctest -L bench runs them):
#   1. the plain build and its tests, the fuzz corpora replayed among them; the build includes the
#      Windows DLL for 32- and 64-bit Windows (MinGW-w64), tested under Wine against vksim;
#   2. the AddressSanitizer + UndefinedBehaviorSanitizer build (library, vksim, vkctl, manager core)
#      and its tests, GUI tests excepted;
#   3. short fuzz runs of every libFuzzer target (TORVANE_FUZZ_SECONDS each, with clang).
# Each stage prints what it cost.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

stage() {
    local name="$1"
    shift
    local start=$SECONDS
    "$@"
    echo "== $name: $((SECONDS - start)) s"
}

# In a private network namespace where possible: nothing leaves the machine, and other runs on the same
# machine cannot take the library's fixed port from under the tests.
run_tests() {
    "$ROOT/scripts/isolated.sh" ctest --test-dir "$1" --output-on-failure --timeout 300 --parallel 2 "${@:2}"
}

stage "packages" install_packages
stage "windows tools" install_windows_tools
stage "plain build" build_all -DTORVANE_WINDOWS_TESTS=ON  # with both Windows DLLs (cross builds)
stage "plain tests" run_tests "$BUILD" --label-exclude 'bench|fuzz' --exclude-regex '^vkcfg_windows_'
stage "windows DLL tests (Wine)" run_tests "$BUILD" --tests-regex '^vkcfg_windows_'
stage "sanitizer build" build_sanitized
stage "sanitizer tests" run_tests "$SAN_BUILD" --label-exclude 'bench|gui|fuzz'
if [ -s "$SAN_BUILD/fuzz-targets.txt" ]; then
    stage "short fuzz runs" run_tests "$SAN_BUILD" --label-regex "^fuzz$"
fi
