#!/usr/bin/env bash
# Outer-edge benchmarks, figures as ratios against baselines measured in the same run:
#  - push: notification latency to 1000 registered channels against one channel;
#  - pictures: resimgoster.ashx requests per second of durnak-server against nginx serving
#    the same JPEG from disk on loopback (one nginx worker, one web thread of ours).
# Usage: bench/run_edge.sh [build-dir]
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
work=$(mktemp -d /tmp/durnak-edge-bench.XXXXXX)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1]); s.close()'; }

echo "== push fan-out =="
"$build/bench/push_latency_bench" 1000 20

echo "== picture endpoint =="
db="$work/demo.db"
"$build/appserver/durnak-admin" --db "$db" init >/dev/null
"$build/appserver/durnak-admin" --db "$db" seed --items 40 >/dev/null
stokno=$(sqlite3 "$db" 'SELECT MIN(stokno) FROM stock_pictures')
mkdir -p "$work/www"
sqlite3 "$db" "SELECT writefile('$work/www/picture.jpg', jpeg) FROM stock_pictures WHERE stokno = $stokno" >/dev/null
# nginx workers run as another user.
chmod a+rx "$work" "$work/www"; chmod a+r "$work/www/picture.jpg"
size=$(stat -c %s "$work/www/picture.jpg")

nginx_port=$(free_port)
mkdir -p "$work/nginx"
cat > "$work/nginx/nginx.conf" <<CONF
worker_processes 1;
daemon off;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 1024; }
http {
  access_log off;
  keepalive_requests 1000000;
  client_body_temp_path $work/nginx/body;
  proxy_temp_path $work/nginx/proxy;
  fastcgi_temp_path $work/nginx/fastcgi;
  uwsgi_temp_path $work/nginx/uwsgi;
  scgi_temp_path $work/nginx/scgi;
  server {
    listen 127.0.0.1:$nginx_port;
    root $work/www;
    location = /resimgoster.ashx { default_type image/jpeg; try_files /picture.jpg =404; }
  }
}
CONF
nginx -c "$work/nginx/nginx.conf" -p "$work/nginx" &
pids+=($!)

printf 'web_threads = 1\n' > "$work/server.ini"
"$build/appserver/durnak-server" --address 127.0.0.1 --port 0 --web-port 0 --db "$db" \
  --config "$work/server.ini" > "$work/server.out" 2> "$work/server.err" &
pids+=($!)
for _ in $(seq 100); do grep -q 'web listening on' "$work/server.out" 2>/dev/null && break; sleep 0.1; done
ours_port=$(sed -n 's/^web listening on //p' "$work/server.out")
sleep 0.3

target="/resimgoster.ashx?id=$stokno"
for _ in $(seq 100); do curl -sf -o /dev/null "http://127.0.0.1:$nginx_port$target" && break; sleep 0.1; done
if ! curl -sf -o /dev/null "http://127.0.0.1:$nginx_port$target"; then cat "$work/nginx/error.log" >&2; exit 1; fi
curl -sf -o /dev/null "http://127.0.0.1:$ours_port$target"
echo "picture of $size bytes, 16 keep-alive connections, 3 s per run, best of 2"
best() { sort -n | tail -1; }
rate() { "$build/bench/http_load_bench" "$1" "$target" 16 3 | tee /dev/stderr | awk '{print $7}'; }
nginx_rate=$( { rate "$nginx_port"; rate "$nginx_port"; } | best)
ours_rate=$( { rate "$ours_port"; rate "$ours_port"; } | best)
python3 - "$nginx_rate" "$ours_rate" <<'PY'
import sys
nginx, ours = float(sys.argv[1]), float(sys.argv[2])
print(f"nginx (baseline): {nginx:.0f} req/s")
print(f"durnak-server:    {ours:.0f} req/s = {ours / nginx:.2f}x nginx (target 0.5x)")
PY
