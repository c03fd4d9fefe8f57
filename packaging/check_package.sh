#!/usr/bin/env bash
# Builds the Debian package as a packager does, with plain cmake and the
# flags dpkg-buildflags gives (every hardening feature on), in build-package/
# made afresh each time, since CMake reads the flags only when a folder is
# first configured. Then checks what the package installs: the AppStream metainfo
# (appstreamcli), the desktop entry (desktop-file-validate) and the package
# itself (lintian, every tag shown). Prints the package's fields, its file
# list and every finding; fails on anything above an info or pedantic note.
# Usage: packaging/check_package.sh
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$here/build-package
status=0

rm -rf "$build"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
eval "$(dpkg-buildflags --export=sh)"
echo "== dpkg-buildflags"
printf '%s\n' "CFLAGS=$CFLAGS" "CXXFLAGS=$CXXFLAGS" "CPPFLAGS=$CPPFLAGS" "LDFLAGS=$LDFLAGS"
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=None -DREFUEL_TESTS=OFF -DREFUEL_BENCH=OFF >/dev/null
cmake --build "$build" -j 2 >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/refuel_*.deb)
echo "== $deb"
dpkg-deb -I "$deb" | sed -n '/Package:/,$p'
dpkg-deb -c "$deb"

root=$build/package-root
dpkg-deb -x "$deb" "$root"
echo "== appstreamcli validate --pedantic"
out=$(appstreamcli validate --pedantic "$root"/usr/share/metainfo/*.metainfo.xml 2>&1) || status=1
echo "$out"
! grep -qE '^[EWP]:' <<<"$out" || status=1
echo "== desktop-file-validate"
out=$(desktop-file-validate "$root/usr/share/applications/refuel.desktop" 2>&1) || status=1
echo "${out:-(nothing to say)}"
[ -z "$out" ] || status=1
echo "== lintian -I -E --pedantic"
lintian -I -E --pedantic --fail-on error,warning "$deb" || status=1
exit "$status"
