#!/usr/bin/env bash
# The shipped programs as a user meets them: unpacked from the zip, run under
# wine in a virtual desktop (X11 driver) on an Xvfb of their own, driven with
# XTest, their windows checked with window-probe.exe and xwininfo.
#  1. varnok-setup.exe: caption "Varnok setup program", client area 426x338,
#     outer frame at 561,168, fixed size.
#  2. varnok-setup.exe alone in a folder (no Hookmod.dll): the error box
#     "未发现键盘钩子DLL." (its text copied with Ctrl+C, as Windows' boxes
#     allow), then the window all the same.
#  3. varnok-setup-demo.exe: a click into the key box, Ctrl+A pressed through
#     the real Hookmod.dll, the box shows "Ctrl+A", "Write in" sends
#     02 02 00 01 04 00 00 00 to the simulated pedal (its log on stdout) and
#     the box "Setup Done!" opens.
#  4. varnok-setup.exe at 150 % and 200 % (wine's LogPixels, in a prefix of
#     its own): the frame at 561,168 and the client area 426x338 in logical
#     pixels, the platform's own unit, so physical ones times the scale.
# Screenshots of each step go to SCREENSHOT_DIR. Exit 77 (skipped) when Xvfb,
# xdotool, xwininfo or ImageMagick's import is missing.
#   run-programs.sh WINE_RUN ZIP WINDOW_PROBE SCREENSHOT_DIR
set -uo pipefail
wine_run=$1 zip=$2 probe_exe=$3 shots=$4
for tool in Xvfb xdotool xwininfo import; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: skipped"; exit 77; }
done

work=$(mktemp -d)
xvfb=
runners=()
dpi_prefix=
cleanup() {
  [ -n "$dpi_prefix" ] && VARNOK_WINEPREFIX=$dpi_prefix "$wine_run" --stop
  for runner in "${runners[@]}"; do
    kill "$runner" 2>/dev/null
    wait "$runner" 2>/dev/null
  done
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

size=1280x1024
# Room for the window at 200 %; the desktops of the other steps are $size.
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 2048x1536x24 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { echo "Xvfb did not start:"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=:$(head -n 1 "$work/display")
desktop=varnok-programs-$$
mkdir -p "$shots"

status=0
fail() {
  echo "FAIL: $*"
  status=1
}

# Starts a program in the virtual desktop; its output goes to LOG.
start_program() {  # start_program EXE LOG [DESKTOP_SIZE]
  "$wine_run" explorer "/desktop=$desktop,${3:-$size},x11" "$1" >"$2" 2>&1 &
  runners+=($!)
}
probe() {  # probe COMMAND [TITLE]: window-probe.exe in the programs' desktop
  "$wine_run" "$probe_exe" "$desktop" "$@" 2>&1
}
# Waits up to SECONDS for LOG to hold a line that is exactly LINE.
wait_for_line() {  # wait_for_line LOG LINE [SECONDS]
  local limit=$(( ${3:-60} * 10 ))
  for _ in $(seq "$limit"); do
    tr -d '\r' <"$1" | grep -qxF -- "$2" && return 0
    sleep 0.1
  done
  return 1
}
screenshot() {  # screenshot NAME [SIZE]: the whole desktop (a window-only grab shows boxes black)
  local colours tries
  # A window that has just appeared may not be drawn yet: up to 20 s.
  for tries in $(seq 40); do
    import -window root -crop "${2:-$size}+0+0" "$shots/$1.png"
    colours=$(convert "$shots/$1.png" -format %k info: 2>/dev/null)
    [ "${colours:-0}" -gt 16 ] && break
    sleep 0.5
  done
  [ "${colours:-0}" -gt 16 ] || fail "screenshot $1 is blank ($colours colours)"
  echo "screenshot: $shots/$1.png"
}
# Closes the window TITLE and waits for its program to end.
close_window() {  # close_window TITLE
  probe close "$1" >/dev/null || fail "could not close \"$1\""
  probe gone "$1" >/dev/null || fail "\"$1\" stayed open"
}
# The main window's place and size, as Windows and as X see them, in
# physical pixels at DPI (96: 100 %); sets client_x, client_y (the client
# area's screen position).
check_main_window() {  # check_main_window WHAT [DPI]
  local geometry tries dpi=${2:-96}
  scaled() { echo $(( ($1 * dpi * 2 + 96) / 192 )); }  # rounded to the nearest
  local x y w h
  x=$(scaled 561) y=$(scaled 168) w=$(scaled 426) h=$(scaled 338)
  # The program puts its frame in place just after the window appears: up
  # to 20 s for the frame to get there.
  for tries in $(seq 40); do
    geometry=$(probe geometry "Varnok setup program") || { fail "$1: no window \"Varnok setup program\": $geometry"; return 1; }
    grep -q "^frame $x $y " <<<"$geometry" && break
    sleep 0.5
  done
  echo "$1: $(tr '\r\n' '  ' <<<"$geometry")"
  grep -q "^frame $x $y " <<<"$geometry" || fail "$1: the outer frame is not at $x,$y"
  grep -q "^client $w $h" <<<"$geometry" || fail "$1: the client area is not ${w}x$h"
  grep -q '^style: resizable 0 maximize-box 0 minimize-box 1' <<<"$geometry" ||
    fail "$1: the frame is not fixed with a minimise box only"
  read -r _ client_x client_y < <(grep '^client-origin' <<<"$geometry" | tr -d '\r')
  [ "${client_y:-0}" -gt "$y" ] || fail "$1: the client area does not start below the caption"
  # X: the window's X window is its outer frame, in the desktop at the screen's origin.
  local x11
  x11=$(xwininfo -name "Varnok setup program" 2>/dev/null)
  grep -q "Absolute upper-left X:  $x\$" <<<"$x11" && grep -q "Absolute upper-left Y:  $y\$" <<<"$x11" ||
    fail "$1: X places the window elsewhere: $(grep Absolute <<<"$x11" | tr '\n' ' ')"
}
# Clicks at a point of the main window's client area.
click_client() {  # click_client X Y
  xdotool mousemove $((client_x + $1)) $((client_y + $2)) click 1
}

(cd "$work" && cmake -E tar xf "$zip") || { echo "cannot unpack $zip"; exit 1; }
folder=$(ls -d "$work"/varnok-setup-windows-*/)

echo "== 1. varnok-setup.exe"
start_program "$folder/varnok-setup.exe" "$work/setup.log"
if check_main_window "varnok-setup.exe"; then
  sleep 2   # the first scan's state drawn
  screenshot main-window
  close_window "Varnok setup program"
fi

echo "== 2. varnok-setup.exe without Hookmod.dll"
mkdir "$work/no-hook"
cp "$folder/varnok-setup.exe" "$work/no-hook/"
start_program "$work/no-hook/varnok-setup.exe" "$work/no-hook.log"
if probe wait varnok-setup >/dev/null; then
  screenshot startup-error
  box=$(xwininfo -name varnok-setup 2>/dev/null | sed -n 's/^xwininfo: Window id: \(0x[0-9a-f]*\).*/\1/p')
  [ -n "$box" ] && xdotool windowfocus "$box"
  xdotool key ctrl+c
  copied=$(probe clipboard | tr -d '\r')
  grep -qxF '未发现键盘钩子DLL.' <<<"$copied" || fail "the error box does not say 未发现键盘钩子DLL.: $copied"
  xdotool key Return
  probe gone varnok-setup >/dev/null || fail "the error box stayed"
  if check_main_window "without Hookmod.dll"; then
    sleep 2
    screenshot no-hook-window
    close_window "Varnok setup program"
  fi
else
  fail "no error box \"varnok-setup\""
fi

echo "== 3. varnok-setup-demo.exe: Ctrl+A captured and written in"
start_program "$folder/varnok-setup-demo.exe" "$work/demo.log"
if check_main_window "varnok-setup-demo.exe" && wait_for_line "$work/demo.log" "key box: Ctrl+C"; then
  # The key box (tab control at 8,120, box at 136,80, 177x25).
  click_client $((8 + 136 + 88)) $((120 + 80 + 12))
  captured=no
  for _ in $(seq 10); do   # until the hook is on when the keys come
    xdotool key ctrl+a
    if wait_for_line "$work/demo.log" "key box: Ctrl+A" 5; then
      captured=yes
      break
    fi
  done
  [ $captured = yes ] || fail "Ctrl+A did not reach the key box"
  screenshot demo-captured
  # "Write in" (224,288, 89x33).
  click_client $((224 + 44)) $((288 + 16))
  wait_for_line "$work/demo.log" "pedal received: 02 02 00 01 04 00 00 00" ||
    fail "the pedal did not receive 02 02 00 01 04 00 00 00"
  wait_for_line "$work/demo.log" 'message box "Write in": Setup Done!' || fail "no \"Setup Done!\""
  if probe wait "Write in" >/dev/null; then
    screenshot demo-setup-done
    xdotool key Return
    probe gone "Write in" >/dev/null || fail "the box \"Setup Done!\" stayed"
  else
    fail "the box \"Write in\" is not on the screen"
  fi
  close_window "Varnok setup program"
else
  fail "the demo did not read out its pedal"
fi
if [ $status -ne 0 ]; then
  echo "--- demo log"
  cat "$work/demo.log"
fi

echo "== 4. varnok-setup.exe at 150 % and 200 %"
# A prefix of its own: its server is ended for each new setting.
dpi_prefix=$work/prefix-dpi
export VARNOK_WINEPREFIX=$dpi_prefix
for dpi in 144 192; do
  "$wine_run" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1 ||
    fail "LogPixels $dpi not set"
  "$wine_run" --stop
  start_program "$folder/varnok-setup.exe" "$work/setup-$dpi.log" 2048x1536
  if check_main_window "at LogPixels $dpi" $dpi; then
    sleep 2
    screenshot main-window-dpi-$dpi 2048x1536
    close_window "Varnok setup program"
  fi
done
exit $status
