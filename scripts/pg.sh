#!/usr/bin/env bash
# A throw-away PostgreSQL server on loopback for tests and load runs.
#   scripts/pg.sh start DIR   initdb into DIR (if new), start on a free port, print the base
#                             connection URL (postgresql://durnak@127.0.0.1:PORT/postgres)
#   scripts/pg.sh stop DIR    stop it (the folder stays; remove it yourself)
#   scripts/pg.sh run PROGRAM [ARGS...]
#                             runs a test program with DURNAK_TEST_POSTGRES set: the server it
#                             names already, or a throw-away one started and removed around it
# PostgreSQL refuses to run as root: as root the cluster is owned by the "postgres" account.
# Authentication is "trust" on loopback only; the server listens on 127.0.0.1 and nothing else.
set -euo pipefail

cmd=${1:-}
if [ "$cmd" = run ]; then
  shift
  [ $# -gt 0 ] || { echo "usage: $0 run PROGRAM [ARGS...]" >&2; exit 2; }
  if [ -n "${DURNAK_TEST_POSTGRES:-}" ]; then exec "$@"; fi
  tmp=$(mktemp -d /tmp/durnak-pg.XXXXXX)
  chmod 755 "$tmp"
  trap '"$0" stop "$tmp/cluster"; rm -rf "$tmp"' EXIT
  DURNAK_TEST_POSTGRES=$("$0" start "$tmp/cluster")
  export DURNAK_TEST_POSTGRES
  set +e
  "$@"
  exit $?
fi
dir=${2:-}
[ -n "$cmd" ] && [ -n "$dir" ] || { echo "usage: $0 start|stop DIR | run PROGRAM..." >&2; exit 2; }

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
[ -x "$bindir/pg_ctl" ] || { echo "PostgreSQL server binaries not found (apt-get install postgresql)" >&2; exit 1; }

as_owner() {
  if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

free_port() {
  python3 - <<'PY'
import socket
s = socket.socket()
s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])
s.close()
PY
}

case "$cmd" in
start)
  mkdir -p "$dir"
  dir=$(cd "$dir" && pwd)
  [ "$(id -u)" = 0 ] && chown postgres: "$dir"
  if [ ! -f "$dir/data/PG_VERSION" ]; then
    as_owner "$bindir/initdb" -D "$dir/data" -U durnak --auth=trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 \
      || { cat "$dir/initdb.log" >&2; exit 1; }
    cat >"$dir/data/pg_hba.conf" <<HBA
host all all 127.0.0.1/32 trust
HBA
  fi
  port=$(free_port)
  # Unix sockets go into the cluster folder, never /var/run; only loopback TCP is open.
  as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c max_connections=300 -c fsync=on" start >/dev/null \
    || { cat "$dir/server.log" >&2; exit 1; }
  echo "$port" >"$dir/port"
  echo "postgresql://durnak@127.0.0.1:$port/postgres"
  ;;
stop)
  [ -f "$dir/data/PG_VERSION" ] || exit 0
  as_owner "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 || true
  ;;
*)
  echo "usage: $0 start|stop DIR" >&2; exit 2 ;;
esac
