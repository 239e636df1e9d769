#!/usr/bin/env bash
# Builds mpmgr and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "mpmgr is a desktop program and needs a display, but none is available" >&2
    echo "(neither DISPLAY nor WAYLAND_DISPLAY is set). Start it from a desktop session," >&2
    echo "or on a machine without a screen under a virtual one: xvfb-run bash scripts/run.sh" >&2
    exit 1
fi
exec ./build/app/mpmgr
