#!/usr/bin/env bash
# Long fuzz runs for developers. Builds the sanitizer build with its libFuzzer targets (build-san, the
# same build the test command uses), fuzzes every target (or the ones named) one after the other, and
# merges into the committed corpus only the new inputs that add coverage. Prints, per target, the
# executions, their rate, the inputs kept and the findings (crash, leak and time-out inputs are left
# in build-san/fuzz-corpus/<target>/ for reproduction: run the target's _fuzzer program on the file).
#
# Usage: scripts/fuzz.sh [-m MINUTES | -r RUNS] [-k] [TARGET...]
#   -m MINUTES  fuzz each target this long (default 10)
#   -r RUNS     fuzz each target for this many executions instead (e.g. 10000000)
#   -k          keep the corpus as it is (no merge into the committed seeds)
#   TARGET      names as in build-san/fuzz-targets.txt, e.g. vkcfg_read_answer
# Runs with nice, so that a long run leaves the machine to interactive work.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

limit=(-max_total_time=600)
merge=1
while getopts "m:r:k" opt; do
    case $opt in
        m) limit=(-max_total_time=$((OPTARG * 60))) ;;
        r) limit=(-runs="$OPTARG") ;;
        k) merge=0 ;;
        *) sed -n '2,14p' "$0"; exit 2 ;;
    esac
done
shift $((OPTIND - 1))

install_packages
build_sanitized
manifest="$SAN_BUILD/fuzz-targets.txt"
[ -s "$manifest" ] || { echo "fuzz.sh: no libFuzzer targets (is clang installed?)" >&2; exit 1; }

findings=0
printf '%-34s %12s %10s %6s %s\n' target executions exec/s kept findings
while read -r name program corpus max_len; do
    [ -z "$name" ] && continue
    if [ $# -gt 0 ] && [[ ! " $* " =~ " $name " ]]; then continue; fi
    work="$SAN_BUILD/fuzz-corpus/$name"
    log="$SAN_BUILD/fuzz-corpus/$name.log"
    mkdir -p "$work"
    before=$(ls "$corpus" | wc -l)
    status=0
    nice -n 15 "$program" "${limit[@]}" -max_len="$max_len" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$work/" "$work" "$corpus" >"$log" 2>&1 || status=$?
    if [ $merge -eq 1 ]; then
        nice -n 15 "$program" -merge=1 -max_len="$max_len" "$corpus" "$work" >>"$log" 2>&1 || true
    fi
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    found=$(find "$work" -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
    [ $status -ne 0 ] && [ "$found" -eq 0 ] && found="exit $status"
    [ "$found" != 0 ] && findings=1
    printf '%-34s %12s %10s %6s %s\n' "$name" "${execs:-?}" "${rate:-?}" $(($(ls "$corpus" | wc -l) - before)) "$found"
done <"$manifest"
exit $findings
