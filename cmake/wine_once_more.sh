#!/bin/sh
# Runs a cross-built program under Wine: wine_once_more.sh WINE PROGRAM ARGS...
# On a loaded machine Wine now and then fails to start a program at all; a run that
# failed without a word on either stream is run once more, saying so. A program that
# said anything ran, and its failure stands.
wine=$1
shift
said=$(mktemp -d "${TMPDIR:-/tmp}/quovix-wine-run-XXXXXX") || exec "$wine" "$@"
trap 'rm -rf "$said"' EXIT
for attempt in 1 2; do
    "$wine" "$@" >"$said/out" 2>"$said/err"
    status=$?
    cat "$said/out"
    cat "$said/err" >&2
    if [ "$status" -eq 0 ] || [ -s "$said/out" ] || [ -s "$said/err" ] || [ "$attempt" -eq 2 ]; then
        exit "$status"
    fi
    echo "wine_once_more.sh: $1 ended with status $status before it said anything: Wine did not start it; running it once more" >&2
done
