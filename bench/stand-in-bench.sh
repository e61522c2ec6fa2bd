# The set-up that the benchmarks beside curl share, sourced with the benchmark program's
# name and the script's arguments: . stand-in-bench.sh PROGRAM [WIN_BUILD [HOST_BUILD]]
#
# Runs in $WINEPREFIX, or else in the tests' prefix that ./parla test creates. Wine's
# WinInet takes its proxy from http_proxy when the prefix sets none, which points the
# program's fixed host name at the stand-in without touching the prefix. Afterwards
# BENCH is the program, WORK a folder removed at exit, SERVICE the stand-in's folder and
# PROXY its address.
BENCH_NAME=$1
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
WIN_BUILD=$(realpath "${2:-$ROOT/build/win}")
HOST_BUILD=$(realpath "${3:-$ROOT/build/host}")

export WINEPREFIX=${WINEPREFIX:-$WIN_BUILD/wineprefix} WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
BENCH=$WIN_BUILD/bench/$BENCH_NAME.exe
[[ -x $BENCH ]] || { echo "$BENCH_NAME: $BENCH has not been built" >&2; exit 1; }
[[ -d $WINEPREFIX ]] || { echo "$BENCH_NAME: no Wine prefix at $WINEPREFIX (run ./parla test once)" >&2; exit 1; }
command -v curl >/dev/null || { echo "$BENCH_NAME: curl is missing (./parla deps installs it)" >&2; exit 1; }

WORK=$(mktemp -d)
SERVICE=$WORK/service
cleanup() {
    sh "$ROOT/service/stand-in.sh" stop "$SERVICE"
    rm -rf "$WORK"
}
trap cleanup EXIT

sh "$ROOT/service/stand-in.sh" start "$HOST_BUILD/service/parlacard-service" "$SERVICE" --test-switches --uploads-per-hour 1000000 --upload-max-bytes 4194304 >/dev/null
PROXY=127.0.0.1:$(cat "$SERVICE/port")
