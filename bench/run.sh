#!/bin/sh
# Runs the engine benchmarks and prints each figure with its ratio to the baseline measured in
# the same run.
#   run.sh BENCHMARK_PROGRAM [REPETITIONS]
# Every benchmark runs REPETITIONS times (default 5), interleaved at random with the others so
# that a slow moment of the machine does not fall on one side only; the table gives medians.
set -eu
program=$1
repetitions=${2:-5}
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$program" --benchmark_repetitions="$repetitions" --benchmark_enable_random_interleaving=true \
    --benchmark_report_aggregates_only=true --benchmark_min_time=0.5 \
    --benchmark_out="$out" --benchmark_out_format=json >/dev/null 2>&1
python3 - "$out" "$repetitions" <<'PY'
import json, sys

data = json.load(open(sys.argv[1]))
median = {}
for b in data["benchmarks"]:
    # The median of the repetitions, or the one run when there is a single repetition.
    if b.get("aggregate_name") == "median" or b.get("run_type") == "iteration":
        scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0}[b["time_unit"]]
        median[b["run_name"]] = b["real_time"] * scale   # milliseconds

def ms(name):
    return median[name]

def show(v):
    return f"{v * 1e6:9.0f} ns" if v < 0.01 else f"{v:9.3f} ms"

rows = []
def row(what, name, base, target=""):
    rows.append((what, show(ms(name)), show(ms(base)) if base else "", f"{ms(name) / ms(base):5.2f}x" if base else "", target))

ctx = data["context"]
print(f"{ctx['date']}, {ctx.get('host_name', '')}, {ctx['num_cpus']} CPUs at {ctx['mhz_per_cpu']} MHz; "
      f"medians of {sys.argv[2]} interleaved repetitions\n")
for item in ["1KiB_file", "1GiB_sparse_file", "folder_of_1_file", "folder_of_10000_files"]:
    row(f"lock+unlock {item}", f"lock_unlock/{item}/engine", f"lock_unlock/{item}/bare",
        "<= 2x" if item == "1KiB_file" else "")
row("lock+unlock 1KiB_file", "lock_unlock/1KiB_file/engine",
    "lock_unlock/1KiB_file/bare_with_in_use_scan", "(baseline with the in-use scan)")
small = ms("lock_unlock/1KiB_file/engine")
for item in ["1GiB_sparse_file", "folder_of_1_file", "folder_of_10000_files"]:
    rows.append((f"  {item} vs 1KiB_file", show(ms(f"lock_unlock/{item}/engine")), show(small),
                 f"{ms(f'lock_unlock/{item}/engine') / small:5.2f}x", "within 10%"))
folder = ms("lock_unlock/folder_of_1_file/engine")
rows.append(("  folder_of_10000 vs folder_of_1", show(ms("lock_unlock/folder_of_10000_files/engine")),
             show(folder), f"{ms('lock_unlock/folder_of_10000_files/engine') / folder:5.2f}x", "within 10%"))
row("list 10,000 items, 2 volumes", "list/10000_items_2_volumes/engine",
    "list/10000_items_2_volumes/bare", "<= 50 ms, <= 2x")
per_item = ms("list/10000_items_2_volumes/engine") / 10000
rows.append(("  per item", show(per_item), show(ms("list/10000_items_2_volumes/bare") / 10000), "", ""))
for call in ["hash_text", "classify", "vault_location", "stub_target_item_in_vault",
             "stub_target_renamed_stub"]:
    row(f"{call} per call", f"call/{call}/engine", f"call/{call}/bare")

width = max(len(r[0]) for r in rows)
print(f"{'figure':<{width}}  {'engine':>12}  {'baseline':>12}  {'ratio':>6}  target")
for what, engine, base, ratio, target in rows:
    print(f"{what:<{width}}  {engine:>12}  {base:>12}  {ratio:>6}  {target}")
PY
