#!/bin/sh
# Runs every fuzz target of a built fuzz folder for a set time and prints what each did.
#   run.sh BUILD SECONDS
# Each target starts from the seed corpus in fuzz/corpus/<target> and keeps what it learns in
# BUILD/corpus/<target>; an input that makes it fail is kept in BUILD/findings/.
set -u
build=$1
seconds=$2
seeds=$(dirname "$0")/corpus
mkdir -p "$build/findings"
status=0
summary=""
for target in options_reader lock_list_reader stub_reader linux_path; do
    mkdir -p "$build/corpus/$target"
    log="$build/findings/$target.log"
    echo "== fuzz_$target, $seconds s"
    "$build/fuzz_$target" "$build/corpus/$target" "$seeds/$target" \
        -max_total_time="$seconds" -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" >"$log" 2>&1
    result=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    if [ "$result" -eq 0 ]; then
        outcome="no finding"
    else
        outcome="FINDING (see $log)"
        status=1
        grep -E 'ERROR|SUMMARY|runtime error' "$log" | head -5
    fi
    summary="$summary$(printf '%-18s %12s runs %8s/s  %s' "$target" "${runs:-?}" "${speed:-?}" "$outcome")
"
done
echo
printf '%s' "$summary"
exit $status
