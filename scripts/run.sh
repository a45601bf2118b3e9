#!/usr/bin/env bash
# Installs what the build needs, builds the desktop program and starts it on the sample measurement.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVELAN_TESTS=OFF -DKORVELAN_BENCH=OFF
cmake --build build -j "$(nproc)" --target korvelan2
exec build/bin/korvelan2 build/bin/sample.lng
