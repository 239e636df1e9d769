#!/usr/bin/env bash
# Installs the Debian packages that building and testing mpmgr need, when any is
# missing: with apt-get when run as root (or with password-less sudo), otherwise it
# says what to install and stops.
#
#   bash scripts/setup.sh                        what building and testing need
#   bash scripts/setup.sh [--no-recommends] PKG…  these packages instead (other scripts)
set -euo pipefail

recommends=()
if [ "${1:-}" = --no-recommends ]; then
    recommends=(--no-install-recommends)
    shift
fi
packages=(build-essential cmake qt6-base-dev libgl-dev libgtest-dev libgmock-dev
          libbenchmark-dev clang-format git ccache
          dpkg-dev file desktop-file-utils appstream man-db poppler-utils)
[ $# -gt 0 ] && packages=("$@")

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${recommends[@]}" "${missing[@]}"
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
    sudo apt-get update -qq
    sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${recommends[@]}" "${missing[@]}"
else
    echo "mpmgr needs these Debian packages, and installing them needs root:" >&2
    echo "    sudo apt-get install ${recommends[*]} ${missing[*]}" >&2
    echo "Run that command, then run this one again." >&2
    exit 1
fi
