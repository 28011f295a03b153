#!/usr/bin/env bash
# Runs the codec benchmark and prints encode and decode as ratios to the bare JSON parse
# measured in the same run.  Usage: bench/run_codec.sh [build-dir]
set -euo pipefail
build=${1:-build}
"$build/bench/codec_bench" --benchmark_format=json --benchmark_repetitions=3 \
  --benchmark_report_aggregates_only=true > "$build/codec_bench.json"
python3 - "$build/codec_bench.json" <<'PY'
import json, sys
runs = {b["run_name"].split("/")[0]: b["real_time"] for b in json.load(open(sys.argv[1]))["benchmarks"]
        if b.get("aggregate_name") == "median"}
base = runs["BM_BareJsonParse"]
print(f"bare Boost.JSON parse: {base:.1f} ms (baseline)")
for name in ("BM_Encode", "BM_Decode"):
    print(f"{name[3:].lower():>6}: {runs[name]:.1f} ms = {runs[name] / base:.2f}x the bare parse")
PY
