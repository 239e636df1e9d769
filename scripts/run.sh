#!/usr/bin/env bash
# Builds mpmgr and starts it, passing on any arguments. Without arguments and with no
# masterpoint folder stored yet (a first start), it starts on the sample month
# (mpmgr --sample) and says so; otherwise on the stored folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "mpmgr is a desktop program and needs a display, but none is available" >&2
    echo "(neither DISPLAY nor WAYLAND_DISPLAY is set). Start it from a desktop session," >&2
    echo "or on a machine without a screen under a virtual one: xvfb-run bash scripts/run.sh" >&2
    exit 1
fi
settings="${XDG_CONFIG_HOME:-$HOME/.config}/Kavra_Masterpoint_files.ini"
stored_folder() {
    [ -f "$settings" ] &&
        awk '/^\[/ { paths = ($0 == "[paths]") } paths && /^Quillet=./ { found = 1 }
             END { exit !found }' "$settings"
}
if [ $# -eq 0 ] && ! stored_folder; then
    echo "No masterpoint folder is stored yet, so mpmgr starts on its sample month." >&2
    echo "To start on your own folder: ./build/app/mpmgr (it asks for the folder)." >&2
    exec ./build/app/mpmgr --sample
fi
exec ./build/app/mpmgr "$@"
