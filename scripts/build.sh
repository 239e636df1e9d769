#!/usr/bin/env bash
# Installs what is missing, then configures and builds mpmgr, its tests and benchmarks
# in ./build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
