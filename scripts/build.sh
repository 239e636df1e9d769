#!/usr/bin/env bash
# Installs what is missing, then configures and builds mpmgr, its tests and benchmarks
# in ./build.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
source scripts/ccache.sh
cmake -S . -B build "${ccache_launcher[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMPMGR_WARNINGS_AS_ERRORS="${MPMGR_WARNINGS_AS_ERRORS:-OFF}" >/dev/null
cmake --build build -j"$(nproc)"
