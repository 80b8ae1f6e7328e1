#!/bin/sh
# The Debian package as a user's system gets it: CPack builds it from the build folder,
# dpkg-deb unpacks it into a scratch root where the program runs, and Debian's own
# checkers judge its files.
# Usage: check-package.sh CPACK BUILD_DIR
set -eu
cpack=$1
build=$2
work=$(mktemp -d)
program=
cleanup() {
    if [ -n "$program" ]; then kill "$program" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

"$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work" > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack could not build the package"; }
deb=$(ls "$work"/tavo_*_*.deb)
echo "package: $(basename "$deb"), $(stat -c %s "$deb") bytes"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
# dpkg-shlibdeps ran (a library Tavo links) and what no library names is there too.
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "Depends lacks the shared libraries"
dpkg-deb -f "$deb" Depends | grep -q 'timgm6mb-soundfont' || fail "Depends lacks the soundfont"

root=$work/root
dpkg-deb -x "$deb" "$root"
tavo=$root/usr/bin/tavo
"$tavo" --version | grep -q '^Tavo ' || fail "tavo --version from the package"
"$tavo" --list-midi-outputs | grep -q '^0: ' || fail "tavo --list-midi-outputs from the package"

# Started through /usr/bin/tavo, the program moves to the folder it really lies in and
# reads olist.txt there, so that folder must be the package's and hold the list.
QT_QPA_PLATFORM=offscreen "$tavo" > "$work/run.log" 2>&1 &
program=$!
folder=
for _ in $(seq 50); do
    folder=$(readlink "/proc/$program/cwd" || true)
    [ "$folder" = "$root/usr/lib/tavo" ] && break
    sleep 0.1
done
kill -TERM "$program"
wait "$program" || fail "tavo did not end cleanly on SIGTERM: $(cat "$work/run.log")"
program=
[ "$folder" = "$root/usr/lib/tavo" ] || fail "tavo ran in '$folder', not beside its olist.txt"
cmp -s "$root/usr/lib/tavo/olist.txt" "$(dirname "$0")/../../res/olist.txt" || fail "olist.txt is not the list"

desktop-file-validate "$root/usr/share/applications/tavo.desktop" || fail "desktop entry"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml || fail "AppStream metainfo"
# lintian's warnings are printed; only its errors fail the test.
status=0
lintian --fail-on error "$deb" > "$work/lintian.log" 2>&1 || status=$?
grep -v 'running with root privileges' "$work/lintian.log" || true
[ "$status" -eq 0 ] || fail "lintian reports errors"
echo "PASS"
