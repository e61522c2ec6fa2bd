#!/usr/bin/env bash
# The greeting page: from its load to the first character on the screen in headless
# Chromium, beside a plain page of the same stand-in in the same run (target: under
# 300 ms more), and each character's sprite sheet size (target: under 400 KB).
#
#   bench/web-player-bench.sh [HOST_BUILD]     (default: build/host)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
HOST_BUILD=$(realpath "${1:-$ROOT/build/host}")
[[ -d $ROOT/web/node_modules/puppeteer-core ]] || { echo "web-player-bench: run ./parla deps first" >&2; exit 1; }

WORK=$(mktemp -d)
trap 'sh "$ROOT/service/stand-in.sh" stop "$WORK/service"; rm -rf "$WORK"' EXIT
sh "$ROOT/service/stand-in.sh" start "$HOST_BUILD/service/parlacard-service" "$WORK/service" --uploads-per-hour 1000000 >/dev/null
node "$ROOT/web/bench/first-frame.js" "$WORK/service/port" "$HOST_BUILD/service/web/characters"
