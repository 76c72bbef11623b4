#!/bin/sh
# Runs the engine benchmarks and prints each figure with its ratio to the baseline measured in
# the same run.
#   run.sh BENCHMARK_PROGRAM [REPETITIONS]
# Every benchmark runs REPETITIONS times (default 5), interleaved at random with the others so
# that a slow moment of the machine does not fall on one side only; the table gives medians and
# the spread (coefficient of variation) of the repetitions. BENCH_MIN_TIME sets the seconds each
# repetition runs at least (default 0.5).
set -eu
program=$1
repetitions=${2:-5}
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$program" --benchmark_repetitions="$repetitions" --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_min_time="${BENCH_MIN_TIME:-0.5}" \
    --benchmark_out="$out" --benchmark_out_format=json >/dev/null 2>&1
python3 - "$out" "$repetitions" <<'PY'
import json, sys

data = json.load(open(sys.argv[1]))
median = {}
spread = {}   # coefficient of variation of the repetitions
in_turn = {}  # the mean of each item of lock_unlock/sizes_in_turn, in milliseconds
for b in data["benchmarks"]:
    if b["run_name"] == "lock_unlock/sizes_in_turn/engine" and (
            b.get("aggregate_name") == "median" or b.get("run_type") == "iteration"):
        for item in ["1KiB_file", "1GiB_sparse_file", "folder_of_1_file", "folder_of_10000_files"]:
            in_turn[item] = b[item]
    # The median of the repetitions, or the one run when there is a single repetition.
    if b.get("aggregate_name") == "median" or b.get("run_type") == "iteration":
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0}[b["time_unit"]]
        median[b["run_name"]] = b["real_time"] * scale   # milliseconds
    if b.get("aggregate_name") == "cv":
        spread[b["run_name"]] = b["real_time"]

def ms(name):
    return median[name]

def show(v):
    return f"{v * 1e6:9.0f} ns" if v < 0.01 else f"{v:9.3f} ms"

def cv(name):
    return f"±{spread[name] * 100:.0f}%" if name in spread else ""

rows = []
def row(what, name, base, target=""):
    rows.append((what, show(ms(name)) + f" {cv(name):>4}", show(ms(base)) + f" {cv(base):>4}",
                 f"{ms(name) / ms(base):5.2f}x", target))

ctx = data["context"]
print(f"{ctx['date']}, {ctx.get('host_name', '')}, {ctx['num_cpus']} CPUs at {ctx['mhz_per_cpu']} MHz; "
      f"medians of {sys.argv[2]} interleaved repetitions\n")
for item in ["1KiB_file", "1GiB_sparse_file", "folder_of_1_file", "folder_of_10000_files"]:
    row(f"lock+unlock {item}", f"lock_unlock/{item}/engine", f"lock_unlock/{item}/bare",
        "<= 2x" if item == "1KiB_file" else "")
row("lock+unlock 1KiB_file", "lock_unlock/1KiB_file/engine",
    "lock_unlock/1KiB_file/bare_with_in_use_scan", "(baseline with the in-use scan)")
# The move is O(1) in the item's size: the items locked and unlocked in turn in one benchmark,
# each against the smallest of its kind, and the folder against the file (a folder's in-use
# test compares every descriptor's path instead of its inode).
for big, small in [("1GiB_sparse_file", "1KiB_file"), ("folder_of_10000_files", "folder_of_1_file"),
                   ("folder_of_10000_files", "1KiB_file")]:
    rows.append((f"  in turn: {big} vs {small}", show(in_turn[big]) + "     ",
                 show(in_turn[small]) + "     ", f"{in_turn[big] / in_turn[small]:5.2f}x", "within 10%"))
row("list 10,000 items, 2 volumes", "list/10000_items_2_volumes/engine",
    "list/10000_items_2_volumes/bare", "<= 50 ms, <= 2x")
per_item = ms("list/10000_items_2_volumes/engine") / 10000
rows.append(("  per item", show(per_item) + "     ", show(ms("list/10000_items_2_volumes/bare") / 10000) + "     ", "", ""))
for call in ["hash_text", "classify", "vault_location", "stub_target_item_in_vault",
             "stub_target_renamed_stub"]:
    row(f"{call} per call", f"call/{call}/engine", f"call/{call}/bare")

width = max(len(r[0]) for r in rows)
print(f"{'figure':<{width}}  {'engine':>17}  {'baseline':>17}  {'ratio':>6}  target")
for what, engine, base, ratio, target in rows:
    print(f"{what:<{width}}  {engine:>17}  {base:>17}  {ratio:>6}  {target}")
PY
