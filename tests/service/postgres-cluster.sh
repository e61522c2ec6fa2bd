#!/bin/sh
# A private PostgreSQL cluster for the service's tests, in a temporary folder on a free
# loopback port, run as an unprivileged user: PostgreSQL refuses to run as root, so as
# root it runs as the "postgres" user that Debian's package makes.
#
#   postgres-cluster.sh start STATE    makes and starts it; STATE/url is then its address
#   postgres-cluster.sh halt STATE     stops the server, keeping its data
#   postgres-cluster.sh resume STATE   starts it again on the same port
#   postgres-cluster.sh stop STATE     stops it and removes its folder
set -eu

command=$1
state=$2
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bin/pg_ctl" ] || { echo "postgres-cluster: PostgreSQL is missing (./parla deps installs it)" >&2; exit 1; }

# From the root folder: the caller's folder may be closed to that user.
as_owner() {
    if [ "$(id -u)" = 0 ]; then
        (cd / && runuser -u postgres -- "$@")
    else
        "$@"
    fi
}

server() {
    folder=$(cat "$state/folder")
    port=$(cat "$state/port")
    as_owner "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w -t 60 \
        -o "-c listen_addresses=127.0.0.1 -p $port -k $folder" "$@" >/dev/null
}

case $command in
start)
    mkdir -p "$state"
    [ ! -f "$state/folder" ] || "$0" stop "$state" || true
    folder=$(mktemp -d /tmp/parlacard-postgres.XXXXXX)
    [ "$(id -u)" != 0 ] || chown postgres: "$folder"
    as_owner "$bin/initdb" -D "$folder/data" -U parlacard -A trust -E UTF8 --locale=C --no-sync >/dev/null
    echo "$folder" >"$state/folder"
    # A free port now may be taken before the server binds it: try a few.
    for attempt in 1 2 3 4 5; do
        /usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])' \
            >"$state/port"
        if server start; then
            echo "postgresql://parlacard@127.0.0.1:$(cat "$state/port")/postgres" >"$state/url"
            exit 0
        fi
    done
    cat "$folder/server.log" >&2
    exit 1
    ;;
halt)
    server stop -m fast
    ;;
resume)
    server start
    ;;
stop)
    [ -f "$state/folder" ] || exit 0
    server stop -m immediate || true
    rm -rf "$(cat "$state/folder")"
    rm -f "$state/folder" "$state/port" "$state/url"
    ;;
*)
    echo "usage: postgres-cluster.sh start|halt|resume|stop STATE" >&2
    exit 2
    ;;
esac
