#!/usr/bin/env bash
# Load run: simulated desktop clients (bench/load_driver.cpp) against
#   1. nginx serving a small file, one connection per request (the baseline of the ratios),
#   2. one durnak-server on SQLite,
#   3. two durnak-servers on one PostgreSQL behind HAProxy (TCP mode),
#   4. the same with one of the two killed half-way through.
# Every run checks each simulated order in the database afterwards (none lost, none twice).
# Usage: bench/run_load.sh [build-dir] [clients=200] [seconds=60]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
clients=${2:-200}
seconds=${3:-60}
items=2000
admin="$build/appserver/durnak-admin"
server="$build/appserver/durnak-server"
driver="$build/bench/load_driver"

work=$(mktemp -d /tmp/durnak-load.XXXXXX)
chmod 755 "$work"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  "$here/../scripts/pg.sh" stop "$work/pg" || true
  rm -rf "$work"
}
trap cleanup EXIT

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1]); s.close()'; }

# The demo data, the representative's workstation and one customer per simulated client.
prepare_db() {
  local db=$1
  "$admin" --db "$db" init >/dev/null
  "$admin" --db "$db" seed --items "$items" --no-pictures >/dev/null
  "$admin" --db "$db" bind-workstation --user temsilci --computer-id TEST-DISK-0002 >/dev/null
  for i in $(seq 0 $((clients - 1))); do
    local c=$((2001 + i))
    "$admin" --db "$db" add-customer --carino "$c" --code "120.09.$c" --name "Yük Müşterisi $c" --disc 10,5,0,0 >/dev/null
  done
}

# Starts a server; echoes "pid port".
start_server() {
  local db=$1 name=$2 port
  port=$(free_port)
  "$server" --address 127.0.0.1 --port "$port" --web-port 0 --db "$db" >"$work/$name.out" 2>"$work/$name.err" &
  local pid=$!
  pids+=("$pid")
  for _ in $(seq 300); do grep -q '^listening on' "$work/$name.out" 2>/dev/null && break; sleep 0.1; done
  grep -q '^listening on' "$work/$name.out" || { cat "$work/$name.err" >&2; exit 1; }
  echo "$pid $port"
}

rate_of() { sed -n 's/.* \([0-9.]*\) calls\/s.*/\1/p' "$1"; }

echo "== nginx, one connection per request (baseline) =="
mkdir -p "$work/www" "$work/nginx"
head -c 2048 /dev/urandom | base64 > "$work/www/small.txt"
chmod -R a+rX "$work/www"
nginx_port=$(free_port)
cat > "$work/nginx/nginx.conf" <<CONF
worker_processes 1;
daemon off;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 4096; }
http {
  access_log off;
  client_body_temp_path $work/nginx/body;
  proxy_temp_path $work/nginx/proxy;
  fastcgi_temp_path $work/nginx/fastcgi;
  uwsgi_temp_path $work/nginx/uwsgi;
  scgi_temp_path $work/nginx/scgi;
  server { listen 127.0.0.1:$nginx_port backlog=4096; root $work/www; }
}
CONF
nginx -c "$work/nginx/nginx.conf" -p "$work/nginx" &
pids+=($!)
for _ in $(seq 100); do curl -sf -o /dev/null "http://127.0.0.1:$nginx_port/small.txt" && break; sleep 0.1; done
"$driver" --http "$nginx_port" /small.txt --clients "$clients" --seconds "$seconds" | tee "$work/nginx.txt"

echo "== one server, SQLite =="
prepare_db "$work/load.db"
read -r spid sport < <(start_server "$work/load.db" sqlite)
"$driver" --port "$sport" --clients "$clients" --seconds "$seconds" --db "$work/load.db" --items "$items" \
  --pid "$spid" | tee "$work/sqlite.txt"
kill "$spid"; wait "$spid" 2>/dev/null || true

echo "== two servers, PostgreSQL, HAProxy =="
base=$("$here/../scripts/pg.sh" start "$work/pg")
psql -q "$base" -c "CREATE DATABASE load"
pgdb="${base%/postgres}/load"
prepare_db "$pgdb"
read -r p1 port1 < <(start_server "$pgdb" pg1)
read -r p2 port2 < <(start_server "$pgdb" pg2)
lb_port=$(free_port)
cat > "$work/haproxy.cfg" <<CONF
global
  maxconn 8192
defaults
  mode tcp
  timeout connect 2s
  timeout client 60s
  timeout server 60s
  retries 3
  option redispatch
frontend durnak
  bind 127.0.0.1:$lb_port
  default_backend servers
backend servers
  balance roundrobin
  server s1 127.0.0.1:$port1 check inter 500 fall 2 rise 2
  server s2 127.0.0.1:$port2 check inter 500 fall 2 rise 2
CONF
haproxy -f "$work/haproxy.cfg" -db >"$work/haproxy.log" 2>&1 &
pids+=($!)
sleep 1
"$driver" --port "$lb_port" --clients "$clients" --seconds "$seconds" --db "$pgdb" --items "$items" \
  --pid "$p1,$p2" | tee "$work/pg.txt"

echo "== two servers, PostgreSQL, one killed after $((seconds / 2)) s =="
"$driver" --port "$lb_port" --clients "$clients" --seconds "$seconds" --db "$pgdb" --items "$items" \
  --pid "$p1,$p2" --kill "$p1" --kill-after "$((seconds / 2))" | tee "$work/kill.txt"

python3 - "$(rate_of "$work/nginx.txt")" "$(rate_of "$work/sqlite.txt")" "$(rate_of "$work/pg.txt")" \
  "$(rate_of "$work/kill.txt")" <<'PY'
import sys
nginx, sqlite, pg, kill = map(float, sys.argv[1:])
print(f"\nnginx (baseline)            {nginx:8.0f} req/s   1.00")
print(f"durnak-server, SQLite       {sqlite:8.0f} calls/s {sqlite / nginx:5.2f} x nginx")
print(f"2 x durnak-server, PG       {pg:8.0f} calls/s {pg / nginx:5.2f} x nginx")
print(f"  one killed half-way       {kill:8.0f} calls/s {kill / nginx:5.2f} x nginx")
PY
