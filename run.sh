#!/usr/bin/env bash
# Builds pelm and starts it in data/, on data/pelm.mdb (made on first use).
# Extra arguments go to pelm, for example: ./run.sh --database /srv/estate/pelm.mdb
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
# Only the program itself: the tests and benchmarks are built by ./test.sh.
cmake --build build --parallel "$(nproc)" --target pelm

mkdir -p data
cd data
if [[ ! -e pelm.mdb ]]; then
    ../build/src/pelm --init-db
fi
exec ../build/src/pelm "$@"
