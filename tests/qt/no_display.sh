#!/usr/bin/env bash
# The program on a machine without a display: one line that says so and a failure status,
# not Qt's page of advice and a core dump. Usage: no_display.sh PATH_TO_TALLISK
set -uo pipefail

program=$1
fail() { echo "no_display: $*" >&2; exit 1; }

check() {
  local what=$1
  shift
  local out status
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" "$program" 2>&1)
  status=$?
  [ "$status" -ne 0 ] || fail "$what: exit status 0"
  [ "$status" -lt 128 ] || fail "$what: killed by a signal (status $status)"
  [ "$(printf '%s\n' "$out" | wc -l)" -eq 1 ] || fail "$what: more than one line:"$'\n'"$out"
  grep -q "no display" <<<"$out" || fail "$what: does not say there is no display: $out"
}

check "no DISPLAY, no WAYLAND_DISPLAY"
# An X display that is not running (nothing listens on :97).
[ -e /tmp/.X11-unix/X97 ] || check "a display that is not running" DISPLAY=:97
# A remote X forward that has gone (nothing listens on port 6097), and a Wayland socket left
# behind by a session that ended.
check "a dead remote X forward" DISPLAY=localhost:97.0
runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
python3 -c 'import socket,sys; s=socket.socket(socket.AF_UNIX); s.bind(sys.argv[1])' "$runtime/wayland-97"
check "a stale Wayland socket" XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY=wayland-97

version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --version) ||
  fail "--version needs no display, yet it failed"
grep -q "^Tallisk " <<<"$version" || fail "--version printed: $version"
both=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --version --paths)
grep -q "^Tallisk " <<<"$both" && grep -q "^Installation files" <<<"$both" ||
  fail "--version --paths did not do both: $both"
echo "no_display: one line and status 1 without a display; --version works"
