#!/usr/bin/env bash
# The installer: its size (target under 5 MB, characters included) and its silent
# install time under Wine in a fresh prefix, beside cp copying the same files, in one run.
#
#   bench/install-bench.sh [WIN_BUILD [HOST_BUILD]]     (defaults: build/win, build/host)
#
# Each round installs into its own copy of the never used prefix that ./parla test keeps
# (copying it is not timed), with a wineserver already running, as a user's session has.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WIN_BUILD=$(realpath "${1:-$ROOT/build/win}")
HOST_BUILD=$(realpath "${2:-$ROOT/build/host}")
ROUNDS=3
TARGET_KB=5120

export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
SETUP=$WIN_BUILD/installer/ParlacardSetup.exe
PRISTINE=$WIN_BUILD/fresh-prefix
[[ -f $SETUP ]] || { echo "install-bench: $SETUP has not been built (./parla package)" >&2; exit 1; }
[[ -f $PRISTINE/.parla-ready ]] || { echo "install-bench: no prefix at $PRISTINE (run ./parla test once)" >&2; exit 1; }

WORK=$(mktemp -d)
XVFB=
cleanup() {
    WINEPREFIX=$WORK/prefix wineserver -k >/dev/null 2>&1 || true
    if [[ -n $XVFB ]]; then kill "$XVFB" 2>/dev/null || true; fi
    rm -rf "$WORK"
}
trap cleanup EXIT
if [[ -z ${DISPLAY:-} ]]; then
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WORK/display" >/dev/null 2>&1 &
    XVFB=$!
    for _ in $(seq 100); do [[ -s $WORK/display ]] && break; sleep 0.1; done
    export DISPLAY=:$(head -n1 "$WORK/display")
fi

now_ms() { date +%s%3N; }
best=

for round in $(seq "$ROUNDS"); do
    WINEPREFIX=$WORK/prefix wineserver -k >/dev/null 2>&1 || true
    rm -rf "$WORK/prefix"
    cp -a "$PRISTINE" "$WORK/prefix"
    cp "$SETUP" "$WORK/prefix/drive_c/"
    export WINEPREFIX=$WORK/prefix
    setsid wineserver -p </dev/null >/dev/null 2>&1
    wine cmd /c exit </dev/null >/dev/null 2>&1
    start=$(now_ms)
    wine 'C:\ParlacardSetup.exe' /S
    ms=$(($(now_ms) - start))
    [[ -f "$WORK/prefix/drive_c/Program Files/Parlacard/Parlacard.exe" ]] ||
        { echo "install-bench: round $round installed nothing" >&2; exit 1; }
    echo "silent install, round $round: $ms ms"
    if [[ -z $best ]] || ((ms < best)); then best=$ms; fi
done

# cp of the same files to the same places, on this machine's disk.
installed=$WORK/prefix/drive_c
copy_best=
for round in $(seq "$ROUNDS"); do
    rm -rf "$WORK/copy"
    mkdir -p "$WORK/copy"
    start=$(now_ms)
    cp -r "$installed/Program Files/Parlacard" "$WORK/copy/Parlacard"
    mkdir -p "$WORK/copy/Chars"
    cp "$HOST_BUILD"/cast/*.ACS "$WORK/copy/Chars/"
    ms=$(($(now_ms) - start))
    if [[ -z $copy_best ]] || ((ms < copy_best)); then copy_best=$ms; fi
done
bytes=$(du -sb "$WORK/copy" | cut -f1)

size_kb=$(($(stat -c %s "$SETUP") / 1024))
echo "installer:        $size_kb KB   $( ((size_kb < TARGET_KB)) && echo "within target (5 MB)" || echo "OVER TARGET (5 MB)")"
echo "installed files:  $((bytes / 1024)) KB"
echo "silent install:   $best ms (best of $ROUNDS, Wine, fresh prefix)"
echo "cp, same files:   $copy_best ms (best of $ROUNDS)"
