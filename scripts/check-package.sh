#!/usr/bin/env bash
# Builds the Debian package, checks it with lintian (any error or warning fails), installs
# it with apt-get, checks what it installed (desktop entry, AppStream metainfo, manual
# page, Debian changelog, the program's --version, that its window starts, on the sample
# month too), then removes it and checks that nothing of it is left. Needs root for
# apt-get.
set -euo pipefail
cd "$(dirname "$0")/.."

if dpkg-query -W -f='${Status}' mpmgr 2>/dev/null | grep -q "ok installed"; then
    echo "mpmgr is already installed here; remove it (apt-get remove mpmgr) and run again" >&2
    exit 1
fi

started=$SECONDS
deb=$(bash scripts/package.sh | tail -n 1)
echo "Package: $deb"
dpkg-deb --field "$deb" Package Version Depends

fail() {
    echo "check-package: $*" >&2
    exit 1
}

# Lintian's errors and warnings fail the check; its notes (info, pedantic) are shown only.
bash scripts/setup.sh --no-recommends lintian
lintian --fail-on error,warning --tag-display-limit 0 "$deb" ||
    fail "lintian finds errors or warnings in $deb"

# No maintainer scripts: the menu, icon cache and manual index follow by dpkg triggers.
control=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | sed 's#^\./##' | grep -v '^$' | sort | tr '\n' ' ')
[ "$control" = "control md5sums " ] || fail "unexpected control files: $control"

work=$(mktemp -d)
installed=no
cleanup() {
    if [ "$installed" = yes ]; then
        DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq mpmgr >/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "apt-get install failed"; }
installed=yes
dpkg -L mpmgr >"$work/files"

desktop=$(grep '^/usr/share/applications/.*\.desktop$' "$work/files") || fail "no desktop entry"
metainfo=$(grep '^/usr/share/metainfo/.*\.metainfo\.xml$' "$work/files") || fail "no metainfo"
desktop-file-validate "$desktop"
appstreamcli validate --no-net "$metainfo"
icon=$(sed -n 's/^Icon=//p' "$desktop")
for size in 16x16 32x32 48x48 64x64 128x128 256x256; do
    [ -f "/usr/share/icons/hicolor/$size/apps/$icon.png" ] || fail "no $size icon"
done
[ -f "/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon"
man -w mpmgr
[ -f /usr/share/doc/mpmgr/changelog.Debian.gz ] || fail "no Debian changelog"

# The menu starts the program by the desktop entry's command.
command=$(sed -n 's/^Exec=//p' "$desktop")
[ "$(command -v "$command")" = /usr/bin/mpmgr ] || fail "Exec=$command is not the installed mpmgr"
# The program knows its upstream version: the package's less its Debian revision.
expected="mpmgr $(dpkg-query -W -f='${Version}' mpmgr | sed 's/-[^-]*$//')"
version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM /usr/bin/mpmgr --version)
[ "$version" = "$expected" ] || fail "mpmgr --version says '$version', not '$expected'"
echo "$version"
# Its window opens and stays open until stopped.
status=0
XDG_CONFIG_HOME="$work" QT_QPA_PLATFORM=offscreen timeout 5 "$command" 2>"$work/start.log" ||
    status=$?
[ "$status" -eq 124 ] || { cat "$work/start.log" >&2; fail "mpmgr ended with $status at start"; }
# The sample month is installed, and --sample starts on a copy of it, in the temporary
# folder it is given.
[ -f /usr/share/mpmgr/sample/CLUB0613.MP1 ] || fail "no sample month"
status=0
XDG_CONFIG_HOME="$work" TMPDIR="$work" QT_QPA_PLATFORM=offscreen timeout 5 "$command" --sample \
    >"$work/sample.log" 2>&1 || status=$?
[ "$status" -eq 124 ] || { cat "$work/sample.log" >&2; fail "mpmgr --sample ended with $status"; }
grep -q "the sample month is in $work/mpmgr-sample-" "$work/sample.log" ||
    { cat "$work/sample.log" >&2; fail "mpmgr --sample does not say where its copy is"; }

DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq mpmgr >/dev/null
installed=no
# Every file is gone; a folder stays only when another package owns it or it holds
# something not ours.
left=()
while IFS= read -r path; do
    if [ -d "$path" ]; then
        if [ -z "$(ls -A "$path")" ] && ! dpkg -S "$path" >/dev/null 2>&1; then
            left+=("$path")
        fi
    elif [ -e "$path" ] || [ -L "$path" ]; then
        left+=("$path")
    fi
done <"$work/files"
[ ${#left[@]} -eq 0 ] || fail "left behind after removal: ${left[*]}"
echo "check-package: installed, checked and removed in $((SECONDS - started)) s"
