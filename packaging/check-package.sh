#!/usr/bin/env bash
# Builds the Debian package, has lintian check it (no error, no warning),
# unpacks it into a temporary folder and checks that it holds what the desktop
# entry, the metainfo and the documents promise, then starts the unpacked
# program without a display and sees it stay up.
# Usage: packaging/check-package.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

fail() { echo "check-package: $*" >&2; exit 1; }
pass() { echo "check-package: ok: $*"; }

version=$(sed -n 's/^project(tavolen VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[[ -n "$version" ]] || fail "no version in CMakeLists.txt"
deb="$build/tavolen_${version}_$(dpkg --print-architecture).deb"

[[ -f "$build/build.ninja" ]] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
rm -f "$build"/tavolen_*.deb
cmake --build "$build" -j2 --target package
[[ -f "$deb" ]] || fail "cpack did not write $deb"
pass "built $deb"

# Info and pedantic notes are shown too, but only errors and warnings fail.
# As root lintian says so on every run; that line is dropped.
command -v lintian >/dev/null || fail "lintian is not installed (tools/install-deps release)"
status=0
lintian_out=$(lintian --fail-on error,warning --info --pedantic "$deb" 2>&1) || status=$?
lintian_out=$(grep -v 'running with root privileges' <<<"$lintian_out" || true)
[[ -z "$lintian_out" ]] || echo "$lintian_out"
if [[ $status -ne 0 ]] || grep -Eq '^[EW]: ' <<<"$lintian_out"; then
  fail "lintian reports errors or warnings (status $status)"
fi
pass "lintian: no error, no warning"

tmp=$(mktemp -d)
pid=
cleanup() {
  if [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid"
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT
root="$tmp/root"
dpkg-deb -x "$deb" "$root"

field() { dpkg-deb -f "$deb" "$1"; }
[[ "$(field Package)" == tavolen ]] || fail "package name is $(field Package)"
[[ "$(field Version)" == "$version" ]] || fail "package version is $(field Version)"
depends=$(field Depends)
for dep in libqt6widgets6 libqt6gui6 libqt6core6 fonts-ipafont-gothic fonts-ipafont-mincho \
  qt6-translations-l10n; do
  [[ "$depends" == *"$dep"* ]] || fail "Depends lacks $dep: $depends"
done
pass "control fields: version $version, Depends $depends"

binaries=$(cd "$root/usr/bin" && ls)
[[ "$binaries" == tavolen ]] || fail "usr/bin holds '$binaries', not just tavolen"
[[ -x "$root/usr/bin/tavolen" ]] || fail "usr/bin/tavolen is not executable"

desktop="$root/usr/share/applications/tavolen.desktop"
[[ -f "$desktop" ]] || fail "no desktop entry"
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
key() { sed -n "s/^$1=//p" "$desktop"; }
[[ "$(key Name)" == Tavolen ]] || fail "desktop Name is $(key Name)"
[[ -n "$(key 'Comment\[ja\]')" && -n "$(key Comment)" ]] || fail "desktop entry lacks a comment"
[[ "$(key Categories)" == "Utility;Calculator;" ]] || fail "desktop Categories are $(key Categories)"
exec_name=$(key Exec)
[[ -x "$root/usr/bin/$exec_name" ]] || fail "Exec=$exec_name is not in usr/bin"
for size in 32 64 128 256; do
  icon="$root/usr/share/icons/hicolor/${size}x${size}/apps/$(key Icon).png"
  [[ -f "$icon" ]] || fail "no icon $icon"
  file -b "$icon" | grep -q "^PNG image data, $size x $size," || fail "icon is $(file -b "$icon")"
done
[[ -f "$root/usr/share/pixmaps/$(key Icon).xpm" ]] || fail "no source image in usr/share/pixmaps"
pass "desktop entry, Exec=$exec_name, Icon=$(key Icon)"

metainfo=$(find "$root/usr/share/metainfo" -name '*.metainfo.xml')
[[ $(wc -l <<<"$metainfo") -eq 1 && -f "$metainfo" ]] || fail "expected one metainfo file"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo"
id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo")
[[ "$(basename "$metainfo")" == "$id.metainfo.xml" ]] || fail "metainfo file is not named after $id"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[[ -f "$root/usr/share/applications/$launchable" ]] || fail "launchable $launchable is not installed"
binary=$(sed -n 's:.*<binary>\(.*\)</binary>.*:\1:p' "$metainfo")
[[ -x "$root/usr/bin/$binary" ]] || fail "provided binary $binary is not installed"
grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo has no release $version"
grep -q '<screenshot type="default">' "$metainfo" || fail "metainfo has no screenshot"
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "metainfo names no MIT licence"
grep -q "<icon type=\"stock\">$(key Icon)</icon>" "$metainfo" || fail "metainfo lacks the stock icon $(key Icon)"
pass "metainfo $id"

doc="$root/usr/share/doc/tavolen"
copyright="$doc/copyright"
[[ -f "$copyright" ]] || fail "no $copyright"
head -1 "$copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "copyright is not in the machine-readable format"
grep -q '^License: MIT$' "$copyright" || fail "copyright names no MIT licence"
cmp -s <(sed -n '/^Permission/,$p' LICENSE | tr -s ' \n' ' ') \
  <(sed -n '/^ Permission/,$p' "$copyright" | sed -e 's/^ \.$//' -e 's/^ //' | tr -s ' \n' ' ') ||
  fail "the licence text in copyright differs from LICENSE"
# The fourth byte of a gzip header holds its flags (0x08: a file name follows),
# the next four its time stamp; gzip -n leaves all five zero.
gzip_header_clean() { [[ $(od -An -tx1 -j3 -N5 "$1" | tr -d ' \n') == 0000000000 ]]; }
for gz in "$doc/changelog.gz" "$root/usr/share/man/man1/tavolen.1.gz"; do
  [[ -f "$gz" ]] || fail "no $gz"
  gzip -t "$gz" || fail "$gz is not a sound gzip file"
  gzip_header_clean "$gz" || fail "$gz keeps a file name or time stamp (gzip -n)"
done
top=$(zcat "$doc/changelog.gz" | head -1)
[[ "$top" == "tavolen ($version) "* ]] || fail "changelog starts with '$top', not version $version"
manwarn=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
  "$root/usr/share/man/man1/tavolen.1.gz" 2>&1 >/dev/null)
[[ -z "$manwarn" ]] || fail "man warns about tavolen.1: $manwarn"
LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$root/usr/share/man/man1/tavolen.1.gz" | grep -q 'EXIT STATUS' ||
  fail "tavolen(1) has no EXIT STATUS section"
pass "copyright (MIT), changelog $version, tavolen(1)"

log="$tmp/tavolen.log"
QT_QPA_PLATFORM=offscreen "$root/usr/bin/tavolen" >"$log" 2>&1 &
pid=$!
sleep 2
kill -0 "$pid" 2>/dev/null || { cat "$log" >&2; fail "the unpacked tavolen ended within 2 s"; }
if grep -Eiq 'error|fatal|could not|cannot' "$log"; then
  cat "$log" >&2
  fail "the unpacked tavolen reported an error"
fi
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=
pass "the unpacked tavolen started and stayed up for 2 s"

# On a real (virtual) X server the window must also appear under its caption.
if command -v xvfb-run >/dev/null && command -v xwininfo >/dev/null; then
  xvfb-run -a -s "-screen 0 800x600x24" bash -c '
    "$1" & app=$!
    for _ in $(seq 40); do
      xwininfo -root -tree | grep -q "\"Tavolen\"" && break
      sleep 0.1
    done
    xwininfo -root -tree | grep -q "\"Tavolen\""; found=$?
    kill "$app"; wait "$app" 2>/dev/null
    exit $found' _ "$root/usr/bin/tavolen" || fail "no window captioned Tavolen appeared under Xvfb"
  pass "the unpacked tavolen showed its window under Xvfb"
fi
