#!/usr/bin/env bash
# Starts a private PostgreSQL server on 127.0.0.1 for the tests and prints its URL.
# Usage: eval "$(bash scripts/start-test-pg.sh DIR PORT)"; stop with pg_ctl -D DIR/data stop.
set -euo pipefail
dir=$1
port=${2:-55432}
bin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
mkdir -p "$dir"
as_pg=()
if [ "$(id -u)" -eq 0 ]; then
  chown postgres "$dir"
  as_pg=(runuser -u postgres --)
fi
"${as_pg[@]}" "$bin/initdb" -D "$dir/data" -A trust -U postgres -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1
"${as_pg[@]}" "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
  -o "-p $port -k $dir -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=200" start >/dev/null
echo "export KORVAN_TEST_PG=postgresql://postgres@127.0.0.1:$port/postgres"
echo "export KORVAN_TEST_PG_STOP='${as_pg[*]} $bin/pg_ctl -D $dir/data -m fast stop'"
