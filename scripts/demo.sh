#!/usr/bin/env bash
# Brings a fresh machine to a running demo: installs what is missing, builds, seeds the demo
# database, starts the application server (9090, web 8080) and then the desktop client.
# Without a display only the server runs, in the foreground.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja > /dev/null
cmake --build build -j2 --target durnak-server durnak-admin durnak-b2b

mkdir -p demo
if [ ! -s demo/durnak.db ]; then
  build/appserver/durnak-admin --db demo/durnak.db init
  build/appserver/durnak-admin --db demo/durnak.db seed   # demo users: TEMSILCI, BOLGE, DEMO, KISITLI / DEMO
fi
# This machine signs in as the demo customer user (DEMO / DEMO).
build/appserver/durnak-admin --db demo/durnak.db bind-workstation --user DEMO --this-machine
# The sign-in window remembers the demo credentials, so Enter signs in; a settings file the
# user already has is left as it is.
settings="${XDG_CONFIG_HOME:-$HOME/.config}/durnakotomotiv/ayar.ini"
if [ ! -e "$settings" ]; then
  mkdir -p "$(dirname "$settings")"
  (umask 077 && printf '[kullanici]\nisim=DEMO\nsifre=DEMO\nhatırla=1\n' > "$settings")
fi

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/appserver/durnak-server --db demo/durnak.db
fi

build/appserver/durnak-server --db demo/durnak.db > demo/server.log 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
  grep -q "^web listening on" demo/server.log 2>/dev/null && break
  kill -0 "$server" 2>/dev/null || { cat demo/server.log; exit 1; }
  sleep 0.2
done
build/client/app/durnak-b2b
