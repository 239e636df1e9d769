#!/usr/bin/env bash
# Cross-builds the core library and its tests for 64-bit Windows with mingw-w64 and
# runs them under Wine, in a Wine prefix made for the run and thrown away after it.
# Installs the Debian packages it needs when any is missing (as scripts/setup.sh does).
# Fails when the build or any test fails.
#
#   bash scripts/test-windows.sh            # builds in build-windows/
#   MPMGR_WINDOWS_BUILD=/tmp/w bash scripts/test-windows.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# Wine's recommendations (fonts, the 32-bit loader, sound) play no part in a console test.
bash scripts/setup.sh --no-recommends cmake make g++-mingw-w64-x86-64 wine64 googletest ccache
source scripts/ccache.sh

build=${MPMGR_WINDOWS_BUILD:-build-windows}
mkdir -p "$build"
build=$(cd "$build" && pwd)

# Release: without debug information the cross-build takes half the time.
cmake -S cmake/core-only -B "$build" "${ccache_launcher[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DMPMGR_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build "$build" -j"$(nproc)"

wine=/usr/lib/wine/wine64 # Debian keeps the 64-bit loader out of PATH
wineserver=/usr/lib/wine/wineserver
# The prefix lives beside the build, on a file system that keeps Windows attributes
# (Wine stores hidden and system in extended attributes, which not every /tmp takes).
export WINEPREFIX
WINEPREFIX=$(mktemp -d "$build/wineprefix.XXXXXX")
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" # no Mono or Gecko to offer
cleanup() {
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

echo "Making a Wine prefix for the run"
"$wine" wineboot --init >/dev/null 2>&1 || true
"$wineserver" -w

log="$build/masterpoint_tests.log"
status=0
"$wine" "$build/masterpoint_tests.exe" --gtest_color=no 2>&1 | tee "$log" || status=$?

# The lines of a Windows console end in CR LF.
count() { tr -d '\r' <"$log" | sed -n "s/^\[$1\] \([0-9]*\) tests\{0,1\}$2/\1/p"; }
ran=$(count ========== ' from .* ran.*')
passed=$(count '  PASSED  ' '\.')
skipped=$(count '  SKIPPED ' ', listed below:')
echo "Core tests under Wine: ${ran:-?} run, ${passed:-0} passed, ${skipped:-0} skipped"
if [ "$status" -ne 0 ] || [ -z "$ran" ]; then
    echo "The core tests failed under Wine (log: $log)" >&2
    exit 1
fi
