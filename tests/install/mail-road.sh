#!/bin/sh
# The service with a real mail relay, for the CTest fixture of the end-to-end test whose
# greeting goes on to its recipient: an SMTP server on a free loopback port, then the
# service (through stand-in.sh) with that server as its relay.
#
#   mail-road.sh start PROGRAM FOLDER [SETTING...]
#                         the SMTP server keeps its messages in FOLDER/smtp/messages;
#                         the service runs in FOLDER as stand-in.sh starts it
#   mail-road.sh stop FOLDER
set -eu
here=$(cd "$(dirname "$0")" && pwd)
stand_in=$here/../../service/stand-in.sh
sink=$here/../service/smtp-sink.py

stop_sink() {
    [ -f "$1/smtp/pid" ] || return 0
    pid=$(cat "$1/smtp/pid")
    # Only our own server: the number may belong to another process by now.
    if grep -q smtp-sink "/proc/$pid/cmdline" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
    fi
    rm -f "$1/smtp/pid"
}

case ${1:-} in
start)
    [ $# -ge 3 ] || exit 2
    program=$2 folder=$3
    shift 3
    stop_sink "$folder"
    rm -rf "$folder/smtp"
    mkdir -p "$folder/smtp"
    # The system's python: the SMTP server's module is a Debian package.
    setsid /usr/bin/python3 "$sink" "$folder/smtp" </dev/null >"$folder/smtp/sink.log" 2>&1 &
    echo $! >"$folder/smtp/pid"
    for _ in $(seq 100); do
        [ -s "$folder/smtp/port" ] && break
        sleep 0.1
    done
    if [ ! -s "$folder/smtp/port" ]; then
        echo "mail-road.sh: the SMTP server did not start:" >&2
        cat "$folder/smtp/sink.log" >&2
        stop_sink "$folder"
        exit 1
    fi
    sh "$stand_in" start "$program" "$folder" "$@" \
        --smtp-host 127.0.0.1 --smtp-port "$(cat "$folder/smtp/port")"
    ;;
stop)
    [ $# -eq 2 ] || exit 2
    sh "$stand_in" stop "$2"
    stop_sink "$2"
    ;;
*)
    echo "usage: mail-road.sh start PROGRAM FOLDER [SETTING...] | mail-road.sh stop FOLDER" >&2
    exit 2
    ;;
esac
