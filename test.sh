#!/usr/bin/env bash
# Builds pelm with its tests and runs the whole suite, offscreen.
set -euo pipefail
cd "$(dirname "$0")"

scripts/install-deps.sh --tests
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --parallel "$(nproc)"

cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
