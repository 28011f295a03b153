#!/usr/bin/env bash
# Runs the history benchmark and prints each pass as a ratio to the plain walk over the
# same 10 000 rows measured in the same run.  Usage: bench/run_history.sh [build-dir]
set -euo pipefail
build=${1:-build}
QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 "$build/bench/history_bench" --benchmark_format=json \
  --benchmark_repetitions=3 --benchmark_report_aggregates_only=true > "$build/history_bench.json"
python3 - "$build/history_bench.json" <<'PY'
import json, sys
runs = {}
for b in json.load(open(sys.argv[1]))["benchmarks"]:
    if b.get("aggregate_name") == "median":
        runs[b["run_name"].split("/")[0]] = b
base = runs["BM_Baseline_Walk"]["real_time"]
for name, what in [("BM_Statement_RunningBalance", "statement running balance"), ("BM_Order_Totals", "order totals")]:
    t = runs[name]["real_time"]
    print(f"{what:<28} {t:8.2f} ms  baseline walk {base:8.2f} ms  ratio {t / base:6.2f}x  (10 000 rows)")
PY
