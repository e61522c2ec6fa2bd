#!/usr/bin/env bash
# The upload of a greeting of 1 MB to the service stand-in, timed beside curl posting the
# same bytes to the same stand-in in the same run (target: within 2x of curl). UploadBench
# times itself inside the program, so Wine's start-up is not counted.
#
#   bench/upload-bench.sh [WIN_BUILD [HOST_BUILD]]     (defaults: build/win, build/host)
set -euo pipefail

ROUNDS=10
. "$(dirname "${BASH_SOURCE[0]}")/stand-in-bench.sh" UploadBench "$@"
BODY=$WORK/greeting.pcg

program_output=$(http_proxy=http://$PROXY wine "$BENCH" "$(WINEPREFIX=$WINEPREFIX winepath -w "$BODY")")
echo "$program_output" | grep -v '_ms='
post_ms=$(echo "$program_output" | sed -n 's/^post_ms=//p')
both_ms=$(echo "$program_output" | sed -n 's/^both_ms=//p')

# The same request: no content type, and the body at once rather than after a
# 100-continue handshake, as WinInet sends it.
curl_ms=
for _ in $(seq "$ROUNDS"); do
    seconds=$(curl -sS -o /dev/null -w '%{time_total}' --proxy "$PROXY" -H 'Content-Type:' -H 'Expect:' \
                   -A 'Parlacard (http://www.parlacard.example)' --data-binary "@$BODY" \
                   http://www.parlacard.example/upload.asp)
    ms=$(awk -v s="$seconds" 'BEGIN { printf "%.2f", s * 1000 }')
    if [[ -z $curl_ms ]] || awk -v a="$ms" -v b="$curl_ms" 'BEGIN { exit !(a < b) }'; then
        curl_ms=$ms
    fi
done

echo "curl: the same $(stat -c %s "$BODY") bytes, best of $ROUNDS posts: $curl_ms ms"
# The target compares like with like: the post against curl's post of the same bytes.
awk -v p="$post_ms" -v b="$both_ms" -v c="$curl_ms" 'BEGIN {
    printf "post:             %.2fx curl   %s\n", p / c, p / c <= 2 ? "within target (2x)" : "OVER TARGET (2x)"
    printf "text and post:    %.2fx curl\n", b / c
}'
