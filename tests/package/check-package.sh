#!/bin/sh
# Usage: check-package.sh CPACK BUILD_DIR. The Debian package as a user's system gets it: CPack builds it,
# dpkg-deb unpacks it into a scratch root where the program runs, and Debian's own checkers judge its files.
set -eu
cpack=$1 build=$2 work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack could not build the package"; }
deb=$(ls "$work"/tavo_*_*.deb)
# dpkg-shlibdeps ran (a library Tavo links) and what no library names is there too.
for need in libqt6widgets6 timgm6mb-soundfont libfluidsynth3; do
    dpkg-deb -f "$deb" Depends | grep -q "$need" || fail "Depends lacks $need"
done

root=$work/root tavo=$work/root/usr/bin/tavo
dpkg-deb -x "$deb" "$root"
"$tavo" --version | grep -q '^Tavo ' || fail "tavo --version from the package"
"$tavo" --list-midi-outputs | grep -q '^0: ' || fail "tavo --list-midi-outputs from the package"

# Started through /usr/bin/tavo, the program reads olist.txt in the folder it really lies
# in, which must be the package's and hold the list: it says nothing about the names.
QT_QPA_PLATFORM=offscreen timeout --preserve-status -s TERM 3 "$tavo" > "$work/run.log" 2>&1 ||
    fail "tavo did not end cleanly on SIGTERM: $(cat "$work/run.log")"
! grep 'instrument names' "$work/run.log" || fail "tavo did not find its olist.txt"
cmp -s "$root/usr/lib/tavo/olist.txt" "$(dirname "$0")/../../res/olist.txt" || fail "olist.txt is not the list"

desktop-file-validate "$root/usr/share/applications/tavo.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml || fail "AppStream metainfo"
# lintian's warnings are printed; only its errors fail the test.
lintian --fail-on error "$deb" > "$work/lintian.log" 2>&1 && status=0 || status=$?
grep -v 'running with root privileges' "$work/lintian.log" || true
[ "$status" -eq 0 ] || fail "lintian reports errors"
echo "PASS"
