#!/bin/bash
# Runs a command with DISPLAY set to an Xvfb server of its own, then ends the
# server. Exit 77 (skipped) when Xvfb is missing.
# Usage: run-under-xvfb.sh COMMAND [ARGS...]
set -u
command -v Xvfb >/dev/null 2>&1 || { echo "skip: Xvfb missing"; exit 77; }

work=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "Xvfb did not start: $(cat "$work/xvfb.log")"
    exit 1
fi
DISPLAY=":$(head -n1 "$work/display")" "$@"
