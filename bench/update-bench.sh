#!/usr/bin/env bash
# The download of a 50 MB update from the service stand-in through the program's own
# download worker, timed beside curl fetching the same file from the same stand-in in the
# same run (target: within 1.5x of curl, and at most one progress report a second).
# UpdateDownloadBench times itself inside the program, so Wine's start-up is not counted.
#
#   bench/update-bench.sh [WIN_BUILD [HOST_BUILD]]     (defaults: build/win, build/host)
set -euo pipefail

ROUNDS=5
SIZE=$((50 * 1024 * 1024))
ADDRESS=http://www.parlacard.example/update/ParlacardSetup.exe
. "$(dirname "${BASH_SOURCE[0]}")/stand-in-bench.sh" UpdateDownloadBench "$@"
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
