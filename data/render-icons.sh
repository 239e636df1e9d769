#!/usr/bin/env bash
# Renders the icon's PNG sizes from mpmgr.svg into icons/ (needs rsvg-convert, Debian
# package librsvg2-bin). Run it after changing the SVG and commit the PNGs with it: the
# window icon and the installed hicolor icons are these files.
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" mpmgr.svg --output "icons/mpmgr-$size.png"
done
