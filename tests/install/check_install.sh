#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that the installed program has its
# files and finds them: bin/tallisk, the library, and share/tallisk with the profile
# database and the three start-up files. Usage: check_install.sh BUILD_DIR SCRATCH_PREFIX
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
echo "check_install: the installed program finds its files"
