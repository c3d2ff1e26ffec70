#!/usr/bin/env bash
# Windows start-up bench: time from exec to the first map of the window, and
# resident memory of the Wine process one second later, for tavolen.exe and
# the bare floor window (tavolen-floor.exe), in interleaved pairs; then the
# medians and ratios. Runs inside tools/windows-session, which provides the
# private X server, the Wine prefix and a wineserver kept up for the whole run,
# so every start is warm.
#
#   tools/windows-session BUILD_DIR DISPLAY bench/startup-windows/run.sh BUILD_DIR
#
# $PAIRS (9) sets the number of measured pairs; one warm-up pair before them is
# not counted. Exit status 1 when tavolen.exe misses a target (1.25 x time,
# 1.15 x memory).
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:?usage: run.sh BUILD_DIR}" && pwd)
pairs=${PAIRS:-9}
time_target=1.25
rss_target=1.15
wine=/usr/lib/wine/wine64

die() { echo "run.sh: $*" >&2; exit 2; }

[[ $pairs =~ ^[1-9][0-9]*$ ]] || die "PAIRS must be a positive whole number"
[[ -n ${DISPLAY:-} && -n ${WINEPREFIX:-} ]] || die "run it inside tools/windows-session"
tavolen=$build/bin/tavolen.exe
floor=$build/bin/tavolen-floor.exe
[[ -f $tavolen && -f $floor ]] || die "no tavolen.exe and tavolen-floor.exe in $build/bin"

mapwatch=$build/mapwatch
if [[ ! -x $mapwatch || $repo/bench/startup/mapwatch.c -nt $mapwatch ]]; then
  # shellcheck disable=SC2046
  cc -std=c11 -O2 -Wall -Wextra -o "$mapwatch" "$repo/bench/startup/mapwatch.c" \
    $(pkg-config --cflags --libs xcb) || die "cannot build mapwatch (libxcb1-dev, pkg-config)"
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

measure() { # program -> "MAP_MS RSS_KIB CPU_MS"
  "$mapwatch" -t 30 -s 1000 "$wine" "$1" 2>>"$tmp/errors" \
    || die "$(basename "$1") failed: $(tail -n 1 "$tmp/errors")"
}

# shellcheck source=bench/startup/pairs.sh
source "$repo/bench/startup/pairs.sh"
run_pairs
