#!/bin/sh
# Runs the service in the background on the loopback, for the tests' CTest fixtures and
# the benchmarks:
#
#   stand-in.sh start PROGRAM FOLDER [SETTING...]
#                                      starts PROGRAM on a free port with an empty
#                                      FOLDER/data; the port goes to FOLDER/port once
#                                      it listens, its output to FOLDER/service.log;
#                                      it publishes the files of FOLDER/updates; the
#                                      SETTINGs ("--name value") go to the service
#   stand-in.sh stop FOLDER            stops the one that start left there
set -eu

# Whether the process runs; one that ended but waits to be reaped (the service's parent
# is whatever adopted it) counts as ended.
running() {
    state=
    read -r _ _ state _ 2>/dev/null <"/proc/$1/stat" || return 1
    [ "$state" != Z ]
}

stop() {
    folder=$1
    [ -f "$folder/pid" ] || return 0
    pid=$(cat "$folder/pid")
    # Only our own service: the number may belong to another process by now.
    if grep -q parlacard-service "/proc/$pid/cmdline" 2>/dev/null; then
        kill "$pid" 2>/dev/null || true
        for _ in $(seq 50); do
            running "$pid" || break
            sleep 0.1
        done
        if running "$pid"; then
            kill -9 "$pid" 2>/dev/null || true
        fi
    fi
    rm -f "$folder/pid" "$folder/port"
}

start() {
    program=$1 folder=$2
    shift 2
    if [ ! -x "$program" ]; then
        echo "stand-in.sh: $program has not been built (build the host tree first)" >&2
        exit 1
    fi
    mkdir -p "$folder"
    # A run that was interrupted before its clean-up left its service running.
    stop "$folder"
    rm -rf "$folder/data"
    mkdir -p "$folder/updates"
    # Its own session and no inherited output, so that CTest neither waits for it nor
    # takes it down with the set-up test.
    setsid "$program" --port 0 --data "$folder/data" --port-file "$folder/port" \
        --updates "$folder/updates" --access-log "$folder/access.log" "$@" \
        </dev/null >"$folder/service.log" 2>&1 &
    echo $! >"$folder/pid"
    for _ in $(seq 100); do
        if [ -s "$folder/port" ]; then
            echo "stand-in.sh: service listening on 127.0.0.1:$(cat "$folder/port")"
            return 0
        fi
        if ! running "$(cat "$folder/pid")"; then
            echo "stand-in.sh: the service ended at once:" >&2
            cat "$folder/service.log" >&2
            exit 1
        fi
        sleep 0.1
    done
    echo "stand-in.sh: the service did not report its port within 10 s" >&2
    stop "$folder"
    exit 1
}

case ${1:-} in
    start) [ $# -ge 3 ] || exit 2; shift; start "$@" ;;
    stop)  [ $# -eq 2 ] || exit 2; stop "$2" ;;
    *)     echo "usage: stand-in.sh start PROGRAM FOLDER [SETTING...] | stand-in.sh stop FOLDER" >&2; exit 2 ;;
esac
