#!/usr/bin/env bash
# The service under load from wrk, on the loopback, in one run:
#   - uploads per second and their latency (p50, p99) at 50 concurrent clients
#     (target: p99 under 50 ms);
#   - the greeting page and the send page per second beside Debian's nginx serving the
#     same static play.html (target: at least half of nginx's rate).
# Beside each rate, the processor time the server spent per request (all its threads or
# worker processes): on a machine shared with other work the rates swing with the load,
# the time per request much less.
#
#   bench/service-bench.sh [HOST_BUILD [EARLIER_HOST_BUILD]]     (default: build/host)
#
# With an earlier build (another checkout's build/host), its service is measured in the
# same run, row for row, for a before-and-after comparison.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
HOST_BUILD=$(realpath "${1:-$ROOT/build/host}")
EARLIER_BUILD=${2:+$(realpath "$2")}
SECONDS_EACH=${PARLA_BENCH_SECONDS:-10}
CLIENTS=50
for tool in wrk nginx curl; do
    command -v "$tool" >/dev/null || [[ -x /usr/sbin/$tool ]] ||
        { echo "service-bench: $tool is missing (./parla deps installs it)" >&2; exit 1; }
done
for build in "$HOST_BUILD" ${EARLIER_BUILD:+"$EARLIER_BUILD"}; do
    [[ -x $build/service/parlacard-service ]] ||
        { echo "service-bench: $build/service/parlacard-service has not been built" >&2; exit 1; }
done

WORK=$(mktemp -d)
NGINX_PID=
cleanup() {
    for service in "$WORK"/service-*; do
        [[ -d $service ]] && sh "$ROOT/service/stand-in.sh" stop "$service"
    done
    [[ -n $NGINX_PID ]] && kill "$NGINX_PID" 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

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
NGINX_WORKERS=$(pgrep -P "$NGINX_PID" | tr '\n' ' ')

GREETING=$(printf 'Parlacard File Version : 1\r\nBob\r\nbob@example.com,carol@example.com\r\nAnn Sender\r\nann@example.com\r\n\r\nMerlin,Show\r\nMerlin,Speak,Hello there!\r\nMerlin,Hide\r\n')
lua_escape() { printf '%s' "$1" | sed 's/\\/\\\\/g; s/"/\\"/g' | awk 'BEGIN { ORS = "\\r\\n" } { sub(/\r$/, ""); print }'; }
cat >"$WORK/upload.lua" <<LUA
wrk.method = "POST"
wrk.body = "$(lua_escape "$GREETING")"
LUA

# Processor time of the processes so far, in clock ticks.
ticks() {
    local total=0 pid fields
    for pid in "$@"; do
        read -r -a fields <"/proc/$pid/stat"
        # The name (field 2) holds no blanks here; user and system time are fields 14 and 15.
        total=$((total + fields[13] + fields[14]))
    done
    echo "$total"
}

# Requests per second, the latency percentiles in ms, the non-2xx answers and the
# server's processor time per request in µs: measure "PIDS" WRK-ARGUMENTS...
measure() {
    local pids=$1 before after output
    shift
    before=$(ticks $pids)
    output=$(wrk -t2 -c"$CLIENTS" -d"${SECONDS_EACH}s" --latency "$@")
    after=$(ticks $pids)
    awk -v ticks=$((after - before)) -v hz="$(getconf CLK_TCK)" '
        function ms(v) { if (v ~ /us$/) return v / 1000; if (v ~ /ms$/) return v + 0; if (v ~ /s$/) return v * 1000; return v }
        /requests in/ { count = $1 }
        /Requests\/sec:/ { rate = $2 }
        $1 == "50%" { p50 = ms($2) }
        $1 == "99%" { p99 = ms($2) }
        /Non-2xx/ { bad = $NF }
        END { printf "%.0f %.2f %.2f %d %.0f\n", rate, p50, p99, bad, count ? ticks * 1e6 / hz / count : 0 }' <<<"$output"
}

echo "wrk, ${SECONDS_EACH} s each, $CLIENTS connections, 2 threads, all on 127.0.0.1 ($(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg))"
printf '%-40s %9s %9s %9s %11s\n' "" "req/s" "p50 ms" "p99 ms" "cpu us/req"
read -r nginx_rate _ nginx_p99 _ nginx_cpu < <(measure "$NGINX_WORKERS" "http://127.0.0.1:$NGINX_PORT/play.html")
printf '%-40s %9s %9s %9s %11s\n' "nginx, static play.html" "$nginx_rate" "" "$nginx_p99" "$nginx_cpu"

bench_service() {
    local label=$1 build=$2 folder=$WORK/service-$1 service id
    sh "$ROOT/service/stand-in.sh" start "$build/service/parlacard-service" "$folder" --uploads-per-hour 1000000000 >/dev/null
    service=http://127.0.0.1:$(cat "$folder/port")
    local pid
    pid=$(cat "$folder/pid")
    id=$(curl -sS --data-binary "$GREETING" "$service/upload.asp" | tr -d '\r')
    [[ $id =~ ^[0-9]+$ ]] || { echo "service-bench: the $label service answered no id: $id" >&2; exit 1; }

    local up_rate up_p50 up_p99 up_bad up_cpu play_rate play_p99 play_bad play_cpu send_rate send_p99 send_bad send_cpu
    read -r up_rate up_p50 up_p99 up_bad up_cpu < <(measure "$pid" -s "$WORK/upload.lua" "$service/upload.asp")
    read -r play_rate _ play_p99 play_bad play_cpu < <(measure "$pid" "$service/play.asp?GID=$id")
    read -r send_rate _ send_p99 send_bad send_cpu < <(measure "$pid" "$service/send/default.asp?GID=$id")
    sh "$ROOT/service/stand-in.sh" stop "$folder"

    printf '%-40s %9s %9s %9s %11s   %s\n' "upload (SQLite, synced commit), $label" "$up_rate" "$up_p50" "$up_p99" \
        "$up_cpu" "$(awk -v p="$up_p99" 'BEGIN { print (p < 50 ? "within target (p99 < 50 ms)" : "OVER TARGET (p99 < 50 ms)") }')"
    local page name rate p99 cpu
    for page in "greeting page /play.asp, $label:$play_rate:$play_p99:$play_cpu" \
                "send page /send/default.asp, $label:$send_rate:$send_p99:$send_cpu"; do
        IFS=: read -r name rate p99 cpu <<<"$page"
        printf '%-40s %9s %9s %9s %11s   %s\n' "$name" "$rate" "" "$p99" "$cpu" \
            "$(awk -v r="$rate" -v n="$nginx_rate" -v c="$cpu" -v nc="$nginx_cpu" 'BEGIN {
                printf "%.2fx nginx, %s; %.1fx its cpu per request", r / n, (r >= n / 2 ? "within target (0.5x)" : "UNDER TARGET (0.5x)"), c / nc }')"
    done
    (( up_bad + play_bad + send_bad == 0 )) ||
        echo "non-2xx answers ($label): upload $up_bad, greeting page $play_bad, send page $send_bad"
}

bench_service now "$HOST_BUILD"
[[ -z $EARLIER_BUILD ]] || bench_service earlier "$EARLIER_BUILD"
