#!/bin/bash
# Runs a command with DISPLAY set to an Xvfb server of its own, then ends the
# server. With VARNOK_TEST_WM set (a window manager's command line), that
# window manager runs on the server first. Exit 77 (skipped) when Xvfb or the
# window manager is missing.
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
export DISPLAY=":$(head -n1 "$work/display")"
wm_pid=
if [ -n "${VARNOK_TEST_WM:-}" ]; then
    read -r -a wm <<<"$VARNOK_TEST_WM"
    command -v "${wm[0]}" >/dev/null 2>&1 || { echo "skip: ${wm[0]} missing"; exit 77; }
    "${wm[@]}" 2>"$work/wm.log" &
    wm_pid=$!
    trap 'kill "$wm_pid" 2>/dev/null; wait "$wm_pid" 2>/dev/null; kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
    # Running once it names its check window on the root window.
    for _ in $(seq 200); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' ||
        { echo "${wm[0]} did not start: $(cat "$work/wm.log")"; exit 1; }
fi
"$@"
