#!/usr/bin/env bash
# Runs hookmod_windows_test.exe under wine in a virtual desktop with the X11
# driver, on an Xvfb of its own, and does what the test asks on its output:
#   HOOKTEST focus TITLE        focus the window titled TITLE
#   HOOKTEST xdotool ARGS...    run xdotool with ARGS (key presses by XTest)
#   HOOKTEST exit N             the test's exit status
# Exits 77 (skipped) when Xvfb or xdotool is missing.
#   run-under-xvfb.sh WINE_RUN TEST_EXE [gtest args...]
set -uo pipefail
wine_run=$1 test_exe=$2
shift 2
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done

work=$(mktemp -d)
xvfb=
cleanup() {
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1024x768x24 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=:$(head -n 1 "$work/display")
export VARNOK_HOOK_DRIVER=1

mkfifo "$work/out"
"$wine_run" explorer "/desktop=varnok-hook-test-$$,800x600,x11" "$test_exe" "$@" >"$work/out" 2>&1 &
runner=$!
# Wine's own background processes inherit the output too and keep it open
# after the test has ended: read up to the test's exit line, no further.
status=
while [ -z "$status" ] && IFS= read -r -t 120 line; do
  printf '%s\n' "$line"
  case $line in
    "HOOKTEST focus "*)
      title=${line#HOOKTEST focus }
      title=${title%$'\r'}
      window=$(timeout 60 xdotool search --sync --name "^${title}\$" | head -n 1)
      [ -n "$window" ] && xdotool windowfocus --sync "$window"
      ;;
    "HOOKTEST xdotool "*)
      args=${line#HOOKTEST xdotool }
      # shellcheck disable=SC2086  # the test gives plain words
      xdotool ${args%$'\r'}
      ;;
    "HOOKTEST exit "*)
      status=${line#HOOKTEST exit }
      status=${status%$'\r'}
      ;;
  esac
done <"$work/out"
[ -n "$status" ] || { echo "the test ended without its exit line (or went quiet for 2 minutes)"; exit 1; }
# The virtual desktop closes once its program has ended.
for _ in $(seq 300); do
  kill -0 "$runner" 2>/dev/null || break
  sleep 0.1
done
kill "$runner" 2>/dev/null
wait "$runner" 2>/dev/null
exit "$status"
