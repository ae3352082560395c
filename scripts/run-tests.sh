#!/usr/bin/env bash
# Installs what is missing, builds, starts a private PostgreSQL server on
# 127.0.0.1 and runs the whole test suite on SQLite and on PostgreSQL.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
pgdir=$(mktemp -d /tmp/korvan-pg.XXXXXX)
eval "$(bash scripts/start-test-pg.sh "$pgdir" "${KORVAN_PG_PORT:-55432}")"
trap 'eval "$KORVAN_TEST_PG_STOP" >/dev/null 2>&1 || true; rm -rf "$pgdir"' EXIT
export QT_QPA_PLATFORM=offscreen
cd build
ctest --output-on-failure -j 2 "$@"
