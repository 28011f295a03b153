#!/usr/bin/env bash
# Stock search from Enter to rows shown, as a ratio to the server call alone, on a catalogue
# of 1 000 000 items (made once, outside the repository).
# Usage: bench/run_catalogue.sh [build-dir] [database]
set -euo pipefail
build=${1:-build}
db=${2:-/work/bench-data/big.db}
computer_id=BENCH-CATALOGUE-0001
if [ ! -s "$db" ]; then
  mkdir -p "$(dirname "$db")"
  "$build/appserver/durnak-admin" --db "$db" init
  "$build/appserver/durnak-admin" --db "$db" seed --items 1000000 --no-pictures
fi
# Migrations of a newer server first, then the workstation the benchmark signs in from.
"$build/appserver/durnak-admin" --db "$db" init >/dev/null
"$build/appserver/durnak-admin" --db "$db" bind-workstation --user demo --computer-id "$computer_id" >/dev/null
QT_QPA_PLATFORM=offscreen "$build/bench/catalogue_bench" --db "$db" --computer-id "$computer_id" "${@:3}"
