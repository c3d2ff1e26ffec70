#!/usr/bin/env bash
# Start-up bench: time from exec to the first map of the window, and resident
# memory one second later, for tavolen and for the bare Qt floor window, in
# interleaved pairs under a private Xvfb server; then the medians and ratios.
# The CPU time used up to the map is shown too: on a busy machine the wall time
# wanders, the CPU time much less.
#
#   bench/startup/run.sh [TAVOLEN [FLOOR]]
#
# TAVOLEN defaults to build/bin/tavolen. FLOOR (or $QTFLOOR_BIN) is a built floor
# program; without one, the floor is built from $QTFLOOR_SRC (default
# ../shared/qtfloor beside the repo) into $BENCH_DIR/qtfloor. $PAIRS (9) sets the
# number of measured pairs; one warm-up pair before them is not counted.
# Exit status 1 when tavolen misses a target (1.25 x time, 1.15 x memory).
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
tavolen=${1:-${TAVOLEN_BIN:-$repo/build/bin/tavolen}}
floor=${2:-${QTFLOOR_BIN:-}}
floor_src=${QTFLOOR_SRC:-$repo/../shared/qtfloor}
work=${BENCH_DIR:-$repo/build-startup}
pairs=${PAIRS:-9}
time_target=1.25
rss_target=1.15

die() { echo "run.sh: $*" >&2; exit 2; }

[[ $pairs =~ ^[1-9][0-9]*$ ]] || die "PAIRS must be a positive whole number"
[[ -x $tavolen ]] || die "no tavolen at $tavolen (run 'make build' first, or pass its path)"
tavolen=$(realpath "$tavolen")
[[ -z $floor ]] || floor=$(realpath "$floor")
command -v Xvfb >/dev/null || die "Xvfb is missing (make deps)"
mkdir -p "$work"

mapwatch=$work/mapwatch
if [[ ! -x $mapwatch || $repo/bench/startup/mapwatch.c -nt $mapwatch ]]; then
  # shellcheck disable=SC2046
  cc -std=c11 -O2 -Wall -Wextra -o "$mapwatch" "$repo/bench/startup/mapwatch.c" \
    $(pkg-config --cflags --libs xcb) || die "cannot build mapwatch (libxcb1-dev, pkg-config)"
fi

if [[ -z $floor ]]; then
  [[ -f $floor_src/CMakeLists.txt ]] || die "no floor sources at $floor_src (set QTFLOOR_SRC)"
  cmake -S "$floor_src" -B "$work/qtfloor" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$work/qtfloor" -j2 >/dev/null
  floor=$work/qtfloor/qtfloor
fi
[[ -x $floor ]] || die "no floor program at $floor"

tmp=$(mktemp -d)
xvfb_pid=
cleanup() {
  if [[ -n $xvfb_pid ]]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display number itself and writes it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$tmp/display" \
  >"$tmp/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do
  [[ -s $tmp/display ]] && break
  kill -0 "$xvfb_pid" 2>/dev/null || die "Xvfb did not start: $(cat "$tmp/xvfb.log")"
  sleep 0.1
done
[[ -s $tmp/display ]] || die "Xvfb did not become ready within 10 s"

# Both programs get the same, clean environment: X11 on our server only.
mkdir -m 700 "$tmp/xdg"
run_env=(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR
  DISPLAY=":$(tr -d '\n' <"$tmp/display")" XDG_RUNTIME_DIR="$tmp/xdg")

measure() { # program -> "MAP_MS RSS_KIB CPU_MS"
  "${run_env[@]}" "$mapwatch" -t 15 -s 1000 "$1" 2>>"$tmp/errors" \
    || die "$(basename "$1") failed: $(tail -n 1 "$tmp/errors")"
}

# shellcheck source=bench/startup/pairs.sh
source "$repo/bench/startup/pairs.sh"
run_pairs
