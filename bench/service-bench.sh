#!/usr/bin/env bash
# The service under load from wrk, on the loopback, in one run:
#   - uploads per second and their latency (p50, p99) at 50 concurrent clients
#     (target: p99 under 50 ms);
#   - the greeting page and the send page per second beside Debian's nginx serving the
#     same static play.html (target: at least half of nginx's rate).
#
#   bench/service-bench.sh [HOST_BUILD]     (default: build/host)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$ROOT/bench/wrk-measure.sh"
HOST_BUILD=$(realpath "${1:-$ROOT/build/host}")
PROGRAM=$HOST_BUILD/service/parlacard-service
SECONDS_EACH=${PARLA_BENCH_SECONDS:-10}
CLIENTS=50
for tool in wrk nginx curl; do
    command -v "$tool" >/dev/null || [[ -x /usr/sbin/$tool ]] ||
        { echo "service-bench: $tool is missing (./parla deps installs it)" >&2; exit 1; }
done
[[ -x $PROGRAM ]] || { echo "service-bench: $PROGRAM has not been built" >&2; exit 1; }

WORK=$(mktemp -d)
NGINX_PID=
cleanup() {
    sh "$ROOT/service/stand-in.sh" stop "$WORK/service"
    [[ -n $NGINX_PID ]] && kill "$NGINX_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

sh "$ROOT/service/stand-in.sh" start "$PROGRAM" "$WORK/service" --uploads-per-hour 1000000000 >/dev/null
SERVICE=http://127.0.0.1:$(cat "$WORK/service/port")

# nginx as an unprivileged user would run it, on a free port, serving the page's folder.
NGINX_PORT=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
mkdir -p "$WORK/nginx/logs"
cat >"$WORK/nginx/nginx.conf" <<CONF
worker_processes auto;
daemon off;
pid $WORK/nginx/nginx.pid;
error_log $WORK/nginx/logs/error.log;
events { worker_connections 1024; }
http {
    access_log off;
    types { text/html html; }
    server {
        listen 127.0.0.1:$NGINX_PORT;
        root $HOST_BUILD/service/web/play;
    }
}
CONF
/usr/sbin/nginx -p "$WORK/nginx" -c "$WORK/nginx/nginx.conf" &
NGINX_PID=$!
for _ in $(seq 50); do curl -sf -o /dev/null "http://127.0.0.1:$NGINX_PORT/play.html" && break; sleep 0.1; done

GREETING=$(printf 'Parlacard File Version : 1\r\nBob\r\nbob@example.com,carol@example.com\r\nAnn Sender\r\nann@example.com\r\n\r\nMerlin,Show\r\nMerlin,Speak,Hello there!\r\nMerlin,Hide\r\n')
ID=$(curl -sS --data-binary "$GREETING" "$SERVICE/upload.asp" | tr -d '\r')
[[ $ID =~ ^[0-9]+$ ]] || { echo "service-bench: the service answered no id: $ID" >&2; exit 1; }

wrk_post_script "$WORK/upload.lua" "$GREETING"

measure() { wrk_measure "$CLIENTS" "$SECONDS_EACH" "$@"; }

echo "wrk, ${SECONDS_EACH} s each, $CLIENTS connections, 2 threads, all on 127.0.0.1 ($(nproc) cores)"
read -r up_rate up_p50 up_p99 up_bad < <(measure -s "$WORK/upload.lua" "$SERVICE/upload.asp")
read -r play_rate _ play_p99 play_bad < <(measure "$SERVICE/play.asp?GID=$ID")
read -r send_rate _ send_p99 send_bad < <(measure "$SERVICE/send/default.asp?GID=$ID")
read -r nginx_rate _ nginx_p99 _ < <(measure "http://127.0.0.1:$NGINX_PORT/play.html")

printf '%-34s %9s %9s %9s\n' "" "req/s" "p50 ms" "p99 ms"
printf '%-34s %9s %9s %9s   %s\n' "upload (SQLite, synced commit)" "$up_rate" "$up_p50" "$up_p99" \
    "$(awk -v p="$up_p99" 'BEGIN { print (p < 50 ? "within target (p99 < 50 ms)" : "OVER TARGET (p99 < 50 ms)") }')"
printf '%-34s %9s %9s %9s\n' "nginx, static play.html" "$nginx_rate" "" "$nginx_p99"
for page in "greeting page /play.asp:$play_rate:$play_p99" "send page /send/default.asp:$send_rate:$send_p99"; do
    IFS=: read -r name rate p99 <<<"$page"
    printf '%-34s %9s %9s %9s   %s\n' "$name" "$rate" "" "$p99" \
        "$(awk -v r="$rate" -v n="$nginx_rate" 'BEGIN { printf "%.2fx nginx, %s", r / n, (r >= n / 2 ? "within target (0.5x)" : "UNDER TARGET (0.5x)") }')"
done
(( up_bad + play_bad + send_bad == 0 )) || echo "non-2xx answers: upload $up_bad, greeting page $play_bad, send page $send_bad"
