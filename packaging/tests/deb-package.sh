#!/usr/bin/env bash
# The Debian package: built with cpack from a copy of the build folder, its
# control fields and file list checked, installed into a scratch root with
# dpkg --root, the installed program started under Xvfb (its window appears,
# and no "hook library not found" box does), then removed without leftovers.
#
# dpkg --root runs maintainer scripts chrooted into the scratch root, which
# has no shell: --force-script-chrootless runs them on this system instead,
# with DPKG_ROOT set, which our scripts take as "not the running system".
# That works here as root and as a plain user (--force-not-root); unpacking
# with dpkg-deb -x is not needed.
source "$(dirname -- "${BASH_SOURCE[0]}")/lib.sh"

CPACK=${CPACK_COMMAND:-cpack}
need "$CPACK" cmake
need dpkg-deb dpkg
need dpkg-shlibdeps dpkg-dev
need Xvfb xvfb
need xdotool xdotool

pkg=varnok-setup
arch=$(dpkg --print-architecture)

# ---- build the package ----------------------------------------------------------
make_build_copy "$WORK/build"
if ! "$CPACK" -G DEB --config "$WORK/build/CPackConfig.cmake" -B "$WORK/out" \
     >"$WORK/cpack.log" 2>&1; then
  cat "$WORK/cpack.log" >&2
  fail "cpack -G DEB failed"
  finish
fi
deb=$WORK/out/${pkg}_${VARNOK_VERSION}_$arch.deb
check "cpack made ${deb##*/}" test -f "$deb"
[ -f "$deb" ] || finish
check "packaging left the build folder alone" \
  test ! -e "$VARNOK_BUILD_DIR/_CPack_Packages" -a ! -e "$VARNOK_BUILD_DIR/${deb##*/}"

# ---- control fields -----------------------------------------------------------------
field() { dpkg-deb -f "$deb" "$1"; }
check "Package: $pkg" test "$(field Package)" = "$pkg"
check "Version: $VARNOK_VERSION" test "$(field Version)" = "$VARNOK_VERSION"
check "Architecture: $arch" test "$(field Architecture)" = "$arch"
check "Section: utils" test "$(field Section)" = utils
check "a Maintainer with a mail address" bash -c '[[ "$1" == *"<"*"@"*">" ]]' _ "$(field Maintainer)"
depends=$(field Depends)
note "Depends: $depends"
has_dep() { [[ ", $depends," == *", $1"[\ ,]* ]]; }
for lib in libqt6core6 libqt6gui6 libqt6widgets6 libc6 libstdc++6 libxcb1 libudev1 libxkbcommon0 libxkbcommon-x11-0; do
  check "Depends names $lib" has_dep "$lib"
done

# ---- contents -------------------------------------------------------------------------
dpkg-deb -c "$deb" >"$WORK/contents"
# Files and links only ("path" or "path -> target"), owner and mode before them.
awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); line = $1 " " $2 " " $6;
                  if ($7 == "->") line = line " -> " $8; print line }' "$WORK/contents" | sort >"$WORK/files"
cat >"$WORK/expected" <<EOF
-rw-r--r-- root/root usr/lib/udev/rules.d/70-varnok-pedal.rules
-rw-r--r-- root/root usr/lib/varnok-setup/libHookmod.so
-rw-r--r-- root/root usr/share/applications/$APP_ID.desktop
-rw-r--r-- root/root usr/share/icons/hicolor/scalable/apps/$APP_ID.svg
-rw-r--r-- root/root usr/share/metainfo/$APP_ID.metainfo.xml
-rwxr-xr-x root/root usr/lib/varnok-setup/varnok-setup
lrwxrwxrwx root/root usr/bin/varnok-setup -> ../lib/varnok-setup/varnok-setup
EOF
sort -o "$WORK/expected" "$WORK/expected"
if ! diff -u "$WORK/expected" "$WORK/files" >"$WORK/files.diff"; then
  cat "$WORK/files.diff" >&2
  fail "the package's files differ from the expected list"
else
  note "ok: the package holds exactly the program, the hook library, the link, the rule and the desktop files"
fi

dpkg-deb -e "$deb" "$WORK/control"
check "the control area holds control, md5sums, postinst and postrm only" \
  test "$(ls "$WORK/control" | sort | tr '\n' ' ')" = "control md5sums postinst postrm "
for s in postinst postrm; do
  check "$s is the packaging/debian one" cmp -s "$WORK/control/$s" "$VARNOK_PACKAGING_DIR/debian/$s"
  check "$s is executable" test -x "$WORK/control/$s"
done

# ---- install into a scratch root -------------------------------------------------------
R=$WORK/root
mkdir -p "$R/var/lib/dpkg/info" "$R/var/lib/dpkg/updates" "$R/var/lib/dpkg/triggers"
: >"$R/var/lib/dpkg/status"
: >"$R/var/lib/dpkg/available"
# dpkg wants ldconfig and start-stop-daemon on PATH, which users often lack.
DPKG=(env PATH="$PATH:/usr/sbin:/sbin" dpkg --root="$R" --log=/dev/null --force-not-root
      --force-script-chrootless)
if ! "${DPKG[@]}" --force-depends -i "$deb" >"$WORK/dpkg-install.log" 2>&1; then
  cat "$WORK/dpkg-install.log" >&2
  fail "dpkg --root -i failed"
  finish
fi
check "dpkg counts the package as installed" \
  test "$("${DPKG[@]}" -s "$pkg" 2>/dev/null | sed -n 's/^Status: //p')" = "install ok installed"
for f in usr/bin/varnok-setup usr/lib/varnok-setup/varnok-setup usr/lib/varnok-setup/libHookmod.so \
         usr/lib/udev/rules.d/70-varnok-pedal.rules usr/share/applications/$APP_ID.desktop; do
  check "installed: /$f" test -e "$R/$f"
done

# ---- the installed program starts under Xvfb --------------------------------------
mkdir -p "$WORK/home" "$WORK/xdg"
chmod 700 "$WORK/xdg"
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1280x1024x24 3>"$WORK/display" 2>"$WORK/xvfb.log" &
PIDS_TO_KILL+=($!)
for _ in $(seq 1 100); do [ -s "$WORK/display" ] && break; sleep 0.1; done
display=$(head -n1 "$WORK/display" 2>/dev/null || true)
if [ -z "$display" ]; then
  cat "$WORK/xvfb.log" >&2
  fail "Xvfb did not start"
  finish
fi
export DISPLAY=:$display

# window_titles PID: the titles of the visible top-level windows of PID, one a
# line, sorted, once the program shows a window and has settled (15 s at most).
window_titles() {
  local pid=$1 ids="" i
  for i in $(seq 1 150); do
    kill -0 "$pid" 2>/dev/null || return 0
    ids=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null || true)
    [ -n "$ids" ] && break
    sleep 0.1
  done
  [ -n "$ids" ] || return 0
  sleep 1.5 # let a second window (a message box) appear if there is one
  for i in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    xdotool getwindowname "$i" 2>/dev/null || echo "?"
  done | sort
}

# start_installed LOG: starts the installed program as a desktop would, with
# nothing from this build's environment; prints its pid.
start_installed() {
  env -u LD_LIBRARY_PATH -u LD_PRELOAD -u QT_QPA_PLATFORM -u QT_PLUGIN_PATH -u WAYLAND_DISPLAY \
      HOME="$WORK/home" XDG_RUNTIME_DIR="$WORK/xdg" XDG_CONFIG_HOME="$WORK/home/.config" \
      XDG_CACHE_HOME="$WORK/home/.cache" DISPLAY="$DISPLAY" \
      "$R/usr/bin/varnok-setup" >"$1" 2>&1 &
  echo $!
}

stop_pid() {
  local pid=$1
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 1 30); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -9 "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

app=$(start_installed "$WORK/app.log")
PIDS_TO_KILL+=("$app")
titles=$(window_titles "$app")
alive=no; kill -0 "$app" 2>/dev/null && alive=yes
check "the installed program is still running" test "$alive" = yes
if [ "$titles" = "Varnok setup program" ]; then
  note "ok: its one window is \"Varnok setup program\" (no message box)"
else
  fail "expected the single window \"Varnok setup program\", found: ${titles:-no window}"
  sed 's/^/  program: /' "$WORK/app.log" >&2
fi
check "it printed nothing about the hook library" \
  bash -c '! grep -qiE "hookmod|钩子" "$1"' _ "$WORK/app.log"
stop_pid "$app"

# The same check must see the fault it guards against: without the hook
# library beside the program, the "not found" box comes up.
if mv "$R/usr/lib/varnok-setup/libHookmod.so" "$WORK/libHookmod.so.away" 2>/dev/null; then
  app=$(start_installed "$WORK/app-nohook.log")
  PIDS_TO_KILL+=("$app")
  titles=$(window_titles "$app")
  check "without the hook library the check sees a different window set (got: ${titles//$'\n'/, })" \
    test -n "$titles" -a "$titles" != "Varnok setup program"
  stop_pid "$app"
  mv "$WORK/libHookmod.so.away" "$R/usr/lib/varnok-setup/libHookmod.so"
fi

# ---- remove it ---------------------------------------------------------------------------
if ! "${DPKG[@]}" -P "$pkg" >"$WORK/dpkg-purge.log" 2>&1; then
  cat "$WORK/dpkg-purge.log" >&2
  fail "dpkg --root -P failed"
fi
check "dpkg no longer knows the package" \
  bash -c '! "$@" -s varnok-setup 2>/dev/null | grep -q "^Status: install"' _ "${DPKG[@]}"
left=$(cd "$R" && find . -mindepth 1 ! -path './var' ! -path './var/lib' ! -path './var/lib/dpkg' \
       ! -path './var/lib/dpkg/*' | sort)
check "nothing is left outside dpkg's database" test -z "$left"
[ -z "$left" ] || echo "$left" >&2
check "dpkg's database keeps no file of the package" \
  test -z "$(find "$R/var/lib/dpkg/info" -name "$pkg.*")"

finish
