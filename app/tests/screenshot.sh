#!/bin/bash
# Starts the real program under its own Xvfb, waits for the main window,
# checks its place and size, and captures the screen.
# Usage: screenshot.sh PROGRAM OUTPUT.png [WINDOW-TITLE]
# (the title of a translated window, as VARNOK_LANG gives it).
# Exit 77 (skipped) when Xvfb or ImageMagick is missing.
set -u
program=$1
output=$2
title=${3:-Varnok setup program}

for tool in Xvfb import convert identify xwininfo; do
    command -v "$tool" >/dev/null 2>&1 || { echo "skip: $tool missing"; exit 77; }
done

work=$(mktemp -d)
xvfb_pid=
program_pid=
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null && wait "$program_pid" 2>/dev/null
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    # The program's window-id block for this display (/dev/shm/TestHook-<uid>-<display>).
    [ -n "${DISPLAY:-}" ] && rm -f "/dev/shm/TestHook-$(id -u)-${DISPLAY//\//_}"
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*"; exit 1; }

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"

env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY "$program" >"$work/program.log" 2>&1 &
program_pid=$!

# Id of the first mapped top-level window whose name is exactly $1.
window_named() {
    xwininfo -root -children 2>/dev/null | awk -v name="\"$1\"" '
        { line = $0; sub(/^ +/, "", line); id = line; sub(/ .*/, "", id)
          rest = line; sub(/^[^ ]+ /, "", rest); sub(/: .*/, "", rest)
          if (rest == name) { print id; exit } }'
}

mkdir -p "$(dirname "$output")"
main=
for _ in $(seq 200); do
    kill -0 "$program_pid" 2>/dev/null || fail "program ended: $(cat "$work/program.log")"
    main=$(window_named "$title")
    if [ -n "$main" ] && xwininfo -id "$main" | grep -q 'IsViewable'; then
        break
    fi
    main=
    # A start-up error box comes before the window: keep it, then close it.
    box=$(window_named "$(basename "$program")")
    if [ -n "$box" ] && xwininfo -id "$box" | grep -q 'IsViewable'; then
        sleep 0.5
        import -window root -crop 1000x700+0+0 +repage "${output%.png}-startup-error.png"
        if command -v xdotool >/dev/null 2>&1; then
            xdotool key --window "$box" Return
        else
            fail "start-up error box shown and xdotool missing to close it"
        fi
        sleep 0.5
    fi
    sleep 0.1
done
[ -n "$main" ] || fail "main window did not appear"
sleep 1   # first paint

info=$(xwininfo -id "$main")
left=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
top=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
width=$(awk '/Width:/ {print $NF}' <<<"$info")
height=$(awk '/Height:/ {print $NF}' <<<"$info")
[ "$width" = 426 ] && [ "$height" = 338 ] || fail "client area ${width}x${height}, want 426x338"
[ "$left" = 561 ] && [ "$top" = 168 ] || fail "placed at $left,$top, want 561,168"

import -window root -crop 1000x700+0+0 +repage "$output" || fail "import failed"
size=$(identify -format '%wx%h' "$output")
[ "$size" = 1000x700 ] || fail "screenshot is $size"
deviation=$(convert "$output" -format '%[fx:standard_deviation]' info:)
awk -v d="$deviation" 'BEGIN { exit !(d > 0.01) }' || fail "screenshot is blank ($deviation)"
# The window's own area must not be blank either.
inner=$(convert "$output" -crop "426x338+561+168" -format '%[fx:standard_deviation]' info:)
awk -v d="$inner" 'BEGIN { exit !(d > 0.01) }' || fail "window area is blank ($inner)"
echo "screenshot: $output"
