#!/bin/sh
# A fresh Wine prefix for one test program, for the tests' CTest fixtures: a copy of the
# booted, never used prefix that ./parla test keeps, with a wineserver of its own.
#
#   fresh-prefix.sh start PRISTINE PREFIX   replaces PREFIX with a copy of PRISTINE and
#                                           starts its wineserver
#   fresh-prefix.sh stop PREFIX             stops that wineserver (the prefix stays for
#                                           a look after a failure)
set -eu
# The lock of ./parla must not live on in the wineserver.
exec 9>&-
export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

start() {
    pristine=$1 prefix=$2
    if [ ! -f "$pristine/.parla-ready" ]; then
        echo "fresh-prefix.sh: no prefix to copy at $pristine (./parla test makes it)" >&2
        exit 1
    fi
    WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
    rm -rf "$prefix"
    cp -a "$pristine" "$prefix"
    # Wine's services and desktop start with the first program and stay with the server;
    # a throwaway program starts them, so that no test's output is held open by them.
    WINEPREFIX=$prefix setsid wineserver -p </dev/null >/dev/null 2>&1
    WINEPREFIX=$prefix wine cmd /c exit </dev/null >/dev/null 2>&1
    echo "fresh-prefix.sh: $prefix ready"
}

stop() {
    WINEPREFIX=$1 wineserver -k >/dev/null 2>&1 || true
}

case ${1:-} in
    start) [ $# -eq 3 ] || exit 2; start "$2" "$3" ;;
    stop)  [ $# -eq 2 ] || exit 2; stop "$2" ;;
    *)     echo "usage: fresh-prefix.sh start PRISTINE PREFIX | fresh-prefix.sh stop PREFIX" >&2; exit 2 ;;
esac
