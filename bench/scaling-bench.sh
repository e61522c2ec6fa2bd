#!/usr/bin/env bash
# Uploads under load from wrk on the loopback, side by side in one run: one instance of
# the service on SQLite, one on PostgreSQL, and two on one PostgreSQL database (the
# clients split between them), each at 50 concurrent clients: uploads per second, p50,
# p99, and the ratio of two instances to one. Also the greeting's bytes read back from
# PostgreSQL. The PostgreSQL cluster is a private one in a temporary folder, synced
# commits as in production.
#
#   bench/scaling-bench.sh [HOST_BUILD]     (default: build/host)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$ROOT/bench/wrk-measure.sh"
HOST_BUILD=$(realpath "${1:-$ROOT/build/host}")
PROGRAM=$HOST_BUILD/service/parlacard-service
SECONDS_EACH=${PARLA_BENCH_SECONDS:-10}
CLIENTS=50
CLUSTER=$ROOT/tests/service/postgres-cluster.sh
STAND_IN=$ROOT/service/stand-in.sh
command -v wrk >/dev/null || { echo "scaling-bench: wrk is missing (./parla deps installs it)" >&2; exit 1; }
[[ -x $PROGRAM ]] || { echo "scaling-bench: $PROGRAM has not been built" >&2; exit 1; }

WORK=$(mktemp -d)
cleanup() {
    for instance in sqlite pg1 pg2a pg2b; do sh "$STAND_IN" stop "$WORK/$instance"; done
    sh "$CLUSTER" stop "$WORK/postgres" || true
    rm -rf "$WORK"
}
trap cleanup EXIT

sh "$CLUSTER" start "$WORK/postgres"
CLUSTER_URL=$(cat "$WORK/postgres/url")
BASE=${CLUSTER_URL%/*}
psql -q "$CLUSTER_URL" -c "CREATE DATABASE one" -c "CREATE DATABASE two"

GREETING=$(printf 'Parlacard File Version : 1\r\nBob\r\nbob@example.com,carol@example.com\r\nAnn Sender\r\nann@example.com\r\n\r\nMerlin,Show\r\nMerlin,Speak,Hello there!\r\nMerlin,Hide\r\n')
wrk_post_script "$WORK/upload.lua" "$GREETING"

# start NAME [SETTING...]: an instance; prints its address.
start() {
    local name=$1
    shift
    sh "$STAND_IN" start "$PROGRAM" "$WORK/$name" --uploads-per-hour 1000000000 --access-log "" "$@" >/dev/null
    echo "http://127.0.0.1:$(cat "$WORK/$name/port")"
}

echo "wrk, ${SECONDS_EACH} s each, $CLIENTS connections in all, 2 threads per wrk, all on 127.0.0.1 ($(nproc) cores)"

SQLITE=$(start sqlite)
read -r sqlite_rate sqlite_p50 sqlite_p99 sqlite_bad < <(wrk_measure "$CLIENTS" "$SECONDS_EACH" -s "$WORK/upload.lua" "$SQLITE/upload.asp")
sh "$STAND_IN" stop "$WORK/sqlite"

PG1=$(start pg1 --database "$BASE/one")
read -r pg1_rate pg1_p50 pg1_p99 pg1_bad < <(wrk_measure "$CLIENTS" "$SECONDS_EACH" -s "$WORK/upload.lua" "$PG1/upload.asp")
ID=$(curl -sS --data-binary "$GREETING" "$PG1/upload.asp" | tr -d '\r')
read -r read_rate read_p50 read_p99 read_bad < <(wrk_measure "$CLIENTS" "$SECONDS_EACH" "$PG1/play/greeting.asp?GID=$ID")
sh "$STAND_IN" stop "$WORK/pg1"

# Two instances, half the clients each, at the same time.
PG2A=$(start pg2a --database "$BASE/two")
PG2B=$(start pg2b --database "$BASE/two")
wrk_measure $((CLIENTS / 2)) "$SECONDS_EACH" -s "$WORK/upload.lua" "$PG2A/upload.asp" >"$WORK/two-a" &
wrk_measure $((CLIENTS / 2)) "$SECONDS_EACH" -s "$WORK/upload.lua" "$PG2B/upload.asp" >"$WORK/two-b"
wait
read -r a_rate a_p50 a_p99 a_bad <"$WORK/two-a"
read -r b_rate b_p50 b_p99 b_bad <"$WORK/two-b"
pg2_rate=$((a_rate + b_rate))
# The slower half's percentiles stand for the pair.
pg2_p50=$(awk -v a="$a_p50" -v b="$b_p50" 'BEGIN { print (a > b ? a : b) }')
pg2_p99=$(awk -v a="$a_p99" -v b="$b_p99" 'BEGIN { print (a > b ? a : b) }')
stored=$(psql -tA "$BASE/two" -c "SELECT count(*) FROM greetings")

printf '%-40s %9s %9s %9s\n' "uploads, 50 clients" "req/s" "p50 ms" "p99 ms"
printf '%-40s %9s %9s %9s\n' "one instance, SQLite" "$sqlite_rate" "$sqlite_p50" "$sqlite_p99"
printf '%-40s %9s %9s %9s\n' "one instance, PostgreSQL" "$pg1_rate" "$pg1_p50" "$pg1_p99"
printf '%-40s %9s %9s %9s   %s\n' "two instances, one PostgreSQL" "$pg2_rate" "$pg2_p50" "$pg2_p99" \
    "$(awk -v two="$pg2_rate" -v one="$pg1_rate" 'BEGIN { printf "%.2fx one instance on PostgreSQL", two / one }')"
printf '%-40s %9s %9s %9s\n' "greeting bytes read, one on PostgreSQL" "$read_rate" "$read_p50" "$read_p99"
echo "greetings stored by the two instances: $stored"
(( sqlite_bad + pg1_bad + a_bad + b_bad + read_bad == 0 )) ||
    echo "non-2xx answers: SQLite $sqlite_bad, PostgreSQL $pg1_bad, two instances $((a_bad + b_bad)), reads $read_bad"
