#!/usr/bin/env bash
# Builds the Debian package of mpmgr with CPack and prints the package's path as its last
# line (all else goes to standard error). It builds in ./build, the folder that build.sh
# and test.sh use, so an existing build is reused; install it with
#     sudo apt-get install ./build/package/mpmgr_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh >&2
if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2
fi
cmake --build build -j"$(nproc)" >&2
rm -rf build/package
cpack --config build/CPackConfig.cmake -G DEB -B "$PWD/build/package" >&2
debs=(build/package/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "CPack made no single package: ${debs[*]}" >&2
    exit 1
fi
echo "$PWD/${debs[0]}"
