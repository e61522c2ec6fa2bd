#!/usr/bin/env bash
# The greeting page: from its load to the first character on the screen in headless
# Chromium, beside a plain page of the same stand-in in the same run, on the loopback
# (target: under 100 ms more) and on a simulated slow mobile link (target: under 1.5 s),
# for greetings of one and of three of our characters and of a large character drawn for
# the run; and each character's file sizes (target for ours: sheets under 400 KB).
#
#   bench/web-player-bench.sh [HOST_BUILD]     (default: build/host)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
HOST_BUILD=$(realpath "${1:-$ROOT/build/host}")
LARGE=Merlin-Large
[[ -d $ROOT/web/node_modules/puppeteer-core ]] || { echo "web-player-bench: run ./parla deps first" >&2; exit 1; }

WORK=$(mktemp -d)
trap 'sh "$ROOT/service/stand-in.sh" stop "$WORK/service"; rm -rf "$WORK"' EXIT
# The site's pages as built, with the large character beside ours.
mkdir -p "$WORK/web/characters"
ln -s "$HOST_BUILD/service/web/play" "$HOST_BUILD/service/web/send" "$WORK/web/"
cp "$HOST_BUILD/service/web/characters/"* "$WORK/web/characters/"
"$HOST_BUILD/cast/pqlarge" "$HOST_BUILD/cast/Merlin.ACS" "$WORK/$LARGE.ACS"
"$HOST_BUILD/cast/pqweb" "$WORK/web/characters" "$WORK/$LARGE.ACS" >/dev/null
sh "$ROOT/service/stand-in.sh" start "$HOST_BUILD/service/parlacard-service" "$WORK/service" \
    --uploads-per-hour 1000000 --web "$WORK/web" >/dev/null
node "$ROOT/web/bench/first-frame.js" "$WORK/service/port" "$WORK/web/characters" "$LARGE"
