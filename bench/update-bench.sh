#!/usr/bin/env bash
# The download of a 50 MB update from the service stand-in through the program's own
# download worker, timed beside curl fetching the same file from the same stand-in in the
# same run (target: within 1.5x of curl, and at most one progress report a second).
# UpdateDownloadBench times itself inside the program, so Wine's start-up is not counted.
#
#   bench/update-bench.sh [WIN_BUILD [HOST_BUILD]]     (defaults: build/win, build/host)
#
# Runs in $WINEPREFIX, or else in the tests' prefix that ./parla test creates. Wine's
# WinInet takes its proxy from http_proxy when the prefix sets none.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WIN_BUILD=$(realpath "${1:-$ROOT/build/win}")
HOST_BUILD=$(realpath "${2:-$ROOT/build/host}")
ROUNDS=5
SIZE=$((50 * 1024 * 1024))
ADDRESS=http://www.parlacard.example/update/ParlacardSetup.exe

export WINEPREFIX=${WINEPREFIX:-$WIN_BUILD/wineprefix} WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
BENCH=$WIN_BUILD/bench/UpdateDownloadBench.exe
[[ -x $BENCH ]] || { echo "update-bench: $BENCH has not been built" >&2; exit 1; }
[[ -d $WINEPREFIX ]] || { echo "update-bench: no Wine prefix at $WINEPREFIX (run ./parla test once)" >&2; exit 1; }
command -v curl >/dev/null || { echo "update-bench: curl is missing (./parla deps installs it)" >&2; exit 1; }

WORK=$(mktemp -d)
SERVICE=$WORK/service
cleanup() {
    sh "$ROOT/service/stand-in.sh" stop "$SERVICE"
    rm -rf "$WORK"
}
trap cleanup EXIT

sh "$ROOT/service/stand-in.sh" start "$HOST_BUILD/service/parlacard-service" "$SERVICE" >/dev/null
PROXY=127.0.0.1:$(cat "$SERVICE/port")
head -c "$SIZE" /dev/urandom >"$SERVICE/updates/ParlacardSetup.exe"
TARGET=$WORK/downloaded.exe

program_output=$(http_proxy=http://$PROXY wine "$BENCH" "$ADDRESS" "$(winepath -w "$TARGET")" "$SIZE")
echo "$program_output" | grep -v '=' || true
download_ms=$(echo "$program_output" | sed -n 's/^download_ms=//p')
most=$(echo "$program_output" | sed -n 's/^most_reports_per_second=//p')

curl_ms=
for _ in $(seq "$ROUNDS"); do
    seconds=$(curl -sS -o "$WORK/curl.exe" -w '%{time_total}' --proxy "$PROXY" -A Parlacard "$ADDRESS")
    ms=$(awk -v s="$seconds" 'BEGIN { printf "%.2f", s * 1000 }')
    if [[ -z $curl_ms ]] || awk -v a="$ms" -v b="$curl_ms" 'BEGIN { exit !(a < b) }'; then
        curl_ms=$ms
    fi
done
cmp -s "$WORK/curl.exe" "$SERVICE/updates/ParlacardSetup.exe" || { echo "update-bench: curl got other bytes" >&2; exit 1; }

echo "curl: the same $SIZE bytes, best of $ROUNDS fetches: $curl_ms ms"
awk -v d="$download_ms" -v c="$curl_ms" -v m="$most" 'BEGIN {
    printf "download:         %.2fx curl   %s\n", d / c, d / c <= 1.5 ? "within target (1.5x)" : "OVER TARGET (1.5x)"
    printf "progress reports: at most %d in one second   %s\n", m, m <= 1 ? "within target (1 a second)" : "OVER TARGET (1 a second)"
}'
