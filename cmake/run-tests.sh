#!/bin/sh
# Runs CTest in both lanes and ends with one line: "N passed, N failed" over both.
#   run-tests.sh LINUX_BUILD WINDOWS_BUILD
set -u
linux=$1
windows=$2
log=$(mktemp)
status=0

run_lane() {
    name=$1
    shift
    echo "== $name lane"
    "$@" >"$log.lane" 2>&1
    lane_status=$?
    cat "$log.lane"
    grep -E '^[0-9]+% tests passed' "$log.lane" >>"$log"
    [ "$lane_status" -eq 0 ] || status=1
}

run_lane Linux ctest --test-dir "$linux" --output-on-failure -j2 --timeout 900

"$(dirname "$0")/wine-prefix.sh" "$windows/wineprefix" "$windows/wine-drives"
run_lane Windows ctest --test-dir "$windows" --output-on-failure --timeout 900
WINEPREFIX=$(cd "$windows/wineprefix" && pwd) wineserver -k >/dev/null 2>&1 || true

# "97% tests passed, 2 tests failed out of 60" -> passed = total - failed
awk '{ failed += $4; total += $NF } END { printf "%d passed, %d failed\n", total - failed, failed }' "$log"
if ! grep -q . "$log"; then
    echo "no test ran"
    status=1
fi
rm -f "$log" "$log.lane"
exit $status
