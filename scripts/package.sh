#!/usr/bin/env bash
# Builds the Debian package of mpmgr with CPack and prints the package's path as its last
# line (all else goes to standard error). It builds the program alone, without tests or
# benchmarks, in a folder of its own (build/package-build, through ccache), and leaves
# the package in build/package; install it with
#     sudo apt-get install ./build/package/mpmgr_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >&2
source scripts/ccache.sh
cmake -S . -B build/package-build -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMPMGR_BUILD_TESTS=OFF -DMPMGR_BUILD_BENCH=OFF "${ccache_launcher[@]}" >&2
cmake --build build/package-build -j"$(nproc)" >&2
rm -rf build/package
cpack --config build/package-build/CPackConfig.cmake -G DEB -B "$PWD/build/package" >&2
debs=(build/package/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "CPack made no single package: ${debs[*]}" >&2
    exit 1
fi
echo "$PWD/${debs[0]}"
