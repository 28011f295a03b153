#!/usr/bin/env bash
# Runs the grid benchmark and prints each figure as a ratio to the plain QTableView baseline
# measured in the same run.  Usage: bench/run_grid.sh [build-dir]
set -euo pipefail
build=${1:-build}
QT_QPA_PLATFORM=offscreen "$build/bench/grid_bench" --benchmark_format=json --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true > "$build/grid_bench.json"
python3 - "$build/grid_bench.json" <<'PY'
import json, sys
runs = {}
for b in json.load(open(sys.argv[1]))["benchmarks"]:
    if b.get("aggregate_name") == "median":
        runs[b["run_name"].split("/")[0]] = b
def line(what, grid, base, key, unit, target):
    g, r = runs[grid][key], runs[base][key]
    print(f"{what:<28} grid {g:8.2f} {unit}  baseline {r:8.2f} {unit}  ratio {g / r:5.2f}x  (target {target})")
line("attach + first paint", "BM_Grid_AttachAndFirstPaint", "BM_Baseline_AttachAndFirstPaint", "real_time", "ms", "< 100 ms")
line("scroll one page", "BM_Grid_ScrollPage", "BM_Baseline_ScrollPage", "real_time", "ms", "< 16 ms")
line("heap per row", "BM_Grid_Memory", "BM_Baseline_Memory", "bytes_per_row", "B ", "< 16 B")
line("heap per row, filtered", "BM_Grid_MemoryFiltered", "BM_Baseline_Memory", "bytes_per_row", "B ", "< 16 B")
PY
