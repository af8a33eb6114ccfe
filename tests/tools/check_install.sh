#!/usr/bin/env bash
# Installs a build into a scratch prefix and packages it as a Debian package, then checks both
# layouts: programs in bin/, helpers in libexec/vandra/, the desktop's files valid, and the
# installed programs finding their helpers without any help from the environment.
set -euo pipefail
build="$(realpath "$1")"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
unset VANDRA_BIN VANDRA_ROOT

fail() { echo "FAIL: $*"; exit 1; }

check_layout() {
    local prefix="$1"
    for f in bin/vandra bin/vandractl bin/vandra-agent libexec/vandra/vandra-helper libexec/vandra/vandra-privileged-helper; do
        [ -x "$prefix/$f" ] || fail "$f missing under $prefix"
    done
    for f in share/applications/org.vandra.Vandra.desktop share/metainfo/org.vandra.Vandra.metainfo.xml \
             share/icons/hicolor/scalable/apps/org.vandra.Vandra.svg share/icons/hicolor/48x48/apps/org.vandra.Vandra.png \
             share/icons/hicolor/256x256/apps/org.vandra.Vandra.png share/polkit-1/actions/org.vandra.Vandra.policy \
             share/vandra/icons/vandra-enabled.svg; do
        [ -f "$prefix/$f" ] || fail "$f missing under $prefix"
    done
    desktop-file-validate "$prefix/share/applications/org.vandra.Vandra.desktop" || fail "desktop entry"
    appstreamcli validate --no-net "$prefix/share/metainfo/org.vandra.Vandra.metainfo.xml" >/dev/null || fail "metainfo"
    local found
    found="$("$prefix/bin/vandractl" helpers)" || fail "vandractl helpers: $found"
    grep -qx "vandra-helper: $(realpath "$prefix")/libexec/vandra/vandra-helper" <<<"$found" ||
        fail "the service helper was not found in the installed folder: $found"
    grep -qx "vandra-privileged-helper: $(realpath "$prefix")/libexec/vandra/vandra-privileged-helper" <<<"$found" ||
        fail "the privileged helper was not found in the installed folder: $found"
}

# The installed tree.
cmake --install "$build" --prefix "$scratch/install" >/dev/null
check_layout "$scratch/install"

# The package: the polkit action names the helper where the package puts it.
prefix="$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")"
(cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -G DEB -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip -B "$scratch/package" >/dev/null)
deb="$(ls "$scratch"/package/vandra_*.deb)"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "the package does not depend on Qt's widgets"
dpkg-deb -f "$deb" Recommends | grep -q pkexec || fail "the package does not recommend pkexec"
dpkg -x "$deb" "$scratch/root"
check_layout "$scratch/root$prefix"
grep -q "<annotate key=\"org.freedesktop.policykit.exec.path\">$prefix/libexec/vandra/vandra-privileged-helper<" \
    "$scratch/root$prefix/share/polkit-1/actions/org.vandra.Vandra.policy" || fail "polkit action path"
echo "install and package checks passed"
