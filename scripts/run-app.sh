#!/usr/bin/env bash
# Installs what is missing, builds, and starts Korvan on the embedded SQLite
# database (build/bin/data/depot.db, created with the delivered rows on first start).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
exec build/bin/korvan "$@"
