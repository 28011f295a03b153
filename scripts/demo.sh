#!/usr/bin/env bash
# Brings a fresh machine to a running demo: installs what is missing, builds, seeds the
# demo database and starts the application server on port 9090.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja > /dev/null
cmake --build build -j2 --target durnak-server

mkdir -p demo
exec build/appserver/durnak-server --db demo/durnak.db
