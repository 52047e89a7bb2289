#!/usr/bin/env bash
# Runs the whole suite of an already built tree (default: build) once more, on a
# private PostgreSQL cluster: made in a temporary folder, reachable only through
# a socket there, with fsync off for speed, and stopped and removed on exit.
# The tests make their databases from a template that `pelm --init-db` makes.
# Needs Debian's postgresql and libqt6sql6-psql (scripts/install-deps.sh --tests).
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")

pgbin=$(ls -d /usr/lib/postgresql/*/bin | sort -V | tail -n 1)
cluster=$(mktemp -d /tmp/pelm-pg.XXXXXX)
chmod 755 "$cluster"
# The server refuses to run as root: then it runs as the postgres user.
as_server=()
if [[ $(id -u) -eq 0 ]]; then
    chown postgres "$cluster"
    as_server=(runuser -u postgres --)
fi
stop() {
    "${as_server[@]}" "$pgbin/pg_ctl" -D "$cluster/data" -m immediate stop >/dev/null 2>&1 || true
    rm -rf "$cluster"
}
trap stop EXIT

"${as_server[@]}" "$pgbin/initdb" -D "$cluster/data" -A trust -U postgres -E UTF8 --locale=C >/dev/null
"${as_server[@]}" "$pgbin/pg_ctl" -D "$cluster/data" -l "$cluster/server.log" -w \
    -o "-k $cluster -c listen_addresses='' -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200" \
    start >/dev/null

server="host=$cluster user=postgres"
psql -q -v ON_ERROR_STOP=1 "$server dbname=postgres" -c "CREATE DATABASE pelm_template"
"$build/src/pelm" --init-db --database "$server dbname=pelm_template"
psql -q -v ON_ERROR_STOP=1 "$server dbname=pelm_template" -f tests/support/postgres-test-functions.sql

cd "$build"
PELM_TEST_SERVER="$server dbname=postgres" QT_QPA_PLATFORM=offscreen \
    ctest --output-on-failure --parallel "$(nproc)" "${@:2}"
