#!/usr/bin/env bash
# The greeting page: from its load to the first character on the screen in headless
# Chromium, beside a plain page of the same stand-in in the same run, on the loopback
# (target: under 100 ms more) and on a simulated slow mobile link (target: under 1.5 s),
# for greetings of one and of three of our characters and of a large character drawn for
# the run; and each character's file sizes (target for ours: sheets under 400 KB).
# A second build tree (another checkout's build/host) is measured in the same run,
# alternating with the first, for a before-and-after comparison.
#
#   bench/web-player-bench.sh [HOST_BUILD [OTHER_HOST_BUILD]]     (default: build/host)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
LARGE=Merlin-Large
[[ -d $ROOT/web/node_modules/puppeteer-core ]] || { echo "web-player-bench: run ./parla deps first" >&2; exit 1; }

WORK=$(mktemp -d)
SITES=()
cleanup() {
    for site in "$WORK"/site-*; do
        [[ -d $site ]] && sh "$ROOT/service/stand-in.sh" stop "$site/service"
    done
    rm -rf "$WORK"
}
trap cleanup EXIT

# One stand-in serving the site's pages as that tree built them, with the large
# character beside ours.
start_site() {
    local build site
    build=$(realpath "$1")
    site=$WORK/site-${#SITES[@]}
    mkdir -p "$site/web/characters"
    ln -s "$build/service/web/play" "$build/service/web/send" "$site/web/"
    cp "$build/service/web/characters/"* "$site/web/characters/"
    "$build/cast/pqlarge" "$build/cast/Merlin.ACS" "$site/$LARGE.ACS"
    "$build/cast/pqweb" "$site/web/characters" "$site/$LARGE.ACS" >/dev/null
    sh "$ROOT/service/stand-in.sh" start "$build/service/parlacard-service" "$site/service" \
        --uploads-per-hour 1000000 --web "$site/web" >/dev/null
    SITES+=("$build=$site/service/port")
}

start_site "${1:-$ROOT/build/host}"
[[ -n ${2:-} ]] && start_site "$2"
node "$ROOT/web/bench/first-frame.js" "$WORK/site-0/web/characters" "$LARGE" "${SITES[@]}"
