#!/usr/bin/env bash
# Builds a catalogue of 1 000 000 items (once) and runs the search benchmark on it.
# Usage: bench/run_search.sh [build-dir] [database]
set -euo pipefail
build=${1:-build}
db=${2:-$build/search_bench.db}
if [ ! -s "$db" ]; then
  "$build/appserver/durnak-admin" --db "$db" init
  "$build/appserver/durnak-admin" --db "$db" seed --items 1000000 --no-pictures
fi
"$build/bench/search_bench" --db "$db"
