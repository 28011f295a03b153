#!/usr/bin/env bash
# Brings a fresh machine to a running demo: installs what is missing, builds, seeds the
# demo database and starts the application server on port 9090.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja > /dev/null
cmake --build build -j2 --target durnak-server durnak-admin

mkdir -p demo
if [ ! -s demo/durnak.db ]; then
  build/appserver/durnak-admin --db demo/durnak.db init
  build/appserver/durnak-admin --db demo/durnak.db seed   # demo users: temsilci, bolge, demo, kisitli / demo
fi
# This machine signs in as the demo customer user (demo / demo).
build/appserver/durnak-admin --db demo/durnak.db bind-workstation --user demo --this-machine
exec build/appserver/durnak-server --db demo/durnak.db
