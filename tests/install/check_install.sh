#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the installed program has its
# files and finds them: bin/tallisk, the library, share/tallisk with the profile database and
# the three start-up files, and the desktop's menu entry with its icon; then that the
# installed program starts its window (offscreen). Usage: check_install.sh BUILD_DIR
# SCRATCH_PREFIX
set -euo pipefail

build=$1
prefix=$2
rm -rf "$prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "check_install: $*" >&2; exit 1; }

[ -x "$prefix/bin/tallisk" ] || fail "no bin/tallisk"
compgen -G "$prefix/lib*/libtallisk.so*" >/dev/null || compgen -G "$prefix/lib/*/libtallisk.so*" >/dev/null ||
  fail "no libtallisk.so"
for name in RadioInfo.db control.txt km2.clr tmphelp.thp; do
  [ -s "$prefix/share/tallisk/$name" ] || fail "no share/tallisk/$name"
done
desktop="$prefix/share/applications/tallisk.desktop"
[ -s "$desktop" ] || fail "no share/applications/tallisk.desktop"
grep -qx "Exec=tallisk %f" "$desktop" || fail "the menu entry does not start tallisk with a file"
grep -q "^MimeType=.*application/x-tallisk-km2" "$desktop" || fail "the menu entry takes no KM2 file"
mime="$prefix/share/mime/packages/tallisk.xml"
grep -q 'glob pattern="\*.km2"' "$mime" && grep -q 'glob pattern="\*.qvr"' "$mime" ||
  fail "no MIME types for .qvr and .km2 files"
for sample in taxi-fleet.km2 qvr-16.qvr; do
  [ -s "$prefix/share/tallisk/samples/$sample" ] || fail "no sample programming $sample"
done
[ -s "$prefix/share/man/man1/tallisk.1" ] || fail "no manual page"
[ ! -e "$prefix/include/tallisk" ] || fail "headers installed without a package file to find them"
if command -v man >/dev/null; then
  MANPATH="$prefix/share/man" man -P cat tallisk 2>/dev/null | grep -q "verify" ||
    fail "man tallisk does not show the manual page"
fi
grep -qx "Icon=tallisk" "$desktop" || fail "the menu entry names no tallisk icon"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
icon="$prefix/share/icons/hicolor/scalable/apps/tallisk.svg"
[ -s "$icon" ] || fail "no share/icons/hicolor/scalable/apps/tallisk.svg"
grep -q "<svg" "$icon" || fail "the icon is no SVG"
cmp -s "$build/bin/km2.clr" "$prefix/share/tallisk/km2.clr" || fail "installed km2.clr differs"

# The installed program, with nothing in the environment pointing it anywhere, and its
# build folder out of reach: it must find share/tallisk on its own.
scratch_home=$(mktemp -d)
trap 'rm -rf "$scratch_home"' EXIT
out=$(cd / && env -u TALLISK_DATA_DIR -u TALLISK_PROFILE_DB -u XDG_CONFIG_HOME -u XDG_STATE_HOME \
        -u LD_LIBRARY_PATH HOME="$scratch_home" "$prefix/bin/tallisk" --paths) ||
  fail "the installed tallisk --paths failed:"$'\n'"$out"
echo "$out"
share=$(cd "$prefix/share/tallisk" && pwd -P)
grep -qx "Installation files  $share" <<<"$out" ||
  grep -qx "Installation files  $prefix/share/tallisk" <<<"$out" ||
  fail "the installed program does not look in $prefix/share/tallisk"
grep -q "km2.clr *KM2 image tail of 3654 hex digits" <<<"$out" || fail "km2.clr not usable"
grep -q "User configuration  $scratch_home/.config/tallisk" <<<"$out" || fail "wrong configuration folder"
grep -q "User state          $scratch_home/.local/state/tallisk" <<<"$out" || fail "wrong state folder"

# The commands need no display, and the samples are programmings.
shown=$(cd / && env -u TALLISK_DATA_DIR -u TALLISK_PROFILE_DB -u LD_LIBRARY_PATH HOME="$scratch_home" \
          "$prefix/bin/tallisk" show "$prefix/share/tallisk/samples/taxi-fleet.km2") ||
  fail "the installed tallisk could not show the KM2 sample"
grep -q "AIRPT" <<<"$shown" || fail "the KM2 sample has no named channels: $shown"

# The window itself: the installed program starts, draws its start page and ends.
started=$(cd / && env -u TALLISK_DATA_DIR -u TALLISK_PROFILE_DB -u XDG_CONFIG_HOME -u XDG_STATE_HOME \
            -u LD_LIBRARY_PATH HOME="$scratch_home" QT_QPA_PLATFORM=offscreen \
            timeout 60 "$prefix/bin/tallisk" --quit-after-start 2>&1) ||
  fail "the installed tallisk did not start:"$'\n'"$started"
grep -q "start page shown" <<<"$started" || fail "the installed tallisk showed no start page:"$'\n'"$started"
echo "check_install: the installed program finds its files and starts"
