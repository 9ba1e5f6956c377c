#!/usr/bin/env bash
# `cmake --install` into a DESTDIR: the program and its hook library side by
# side, the bin/ link resolving to the program, the udev rule, the desktop
# entry, the icon and the AppStream metainfo, each valid and pointing at the
# others by the same application id.
source "$(dirname -- "${BASH_SOURCE[0]}")/lib.sh"

need desktop-file-validate desktop-file-utils
need appstreamcli appstream
need xmllint libxml2-utils
need readelf binutils
need nm binutils
CMAKE=${CMAKE_COMMAND:-cmake}

prefix=${VARNOK_INSTALL_PREFIX:-/usr/local}
bindir=$VARNOK_INSTALL_BINDIR
datadir=$VARNOK_INSTALL_DATADIR
privdir=$VARNOK_INSTALL_PRIVATEDIR
rulesdir=$VARNOK_INSTALL_UDEVRULESDIR

manifest_before=$(stat -c '%Y %s' "$VARNOK_BUILD_DIR/install_manifest.txt" 2>/dev/null || echo none)

make_build_copy "$WORK/build"
dest=$WORK/dest
if ! DESTDIR=$dest "$CMAKE" --install "$WORK/build" >"$WORK/install.log" 2>&1; then
  cat "$WORK/install.log" >&2
  fail "cmake --install failed"
  finish
fi
root=$dest$prefix

# Nothing lands outside the prefix.
outside=$(cd "$dest" && find . -mindepth 1 \( -type f -o -type l \) | sed 's|^\.||' |
          grep -v "^$prefix/" || true)
check "everything is installed below $prefix" test -z "$outside"
[ -z "$outside" ] || echo "$outside" >&2

# ---- program and hook library ----------------------------------------------
program=$root/$privdir/varnok-setup
hooklib=$root/$privdir/libHookmod.so
is_elf() { [ -f "$1" ] && [ ! -L "$1" ] && [ "$(head -c4 -- "$1" | od -An -c | tr -d ' ')" = '177ELF' ]; }
check "the program is installed as $privdir/varnok-setup" is_elf "$program"
check "the program is executable" test -x "$program"
check "the hook library sits beside the program" is_elf "$hooklib"
exports=$( (nm -D --defined-only "$hooklib" 2>/dev/null || true) | awk '{print $NF}' | sort | tr '\n' ' ')
check "the installed hook library exports HookOn and HookOff" \
  bash -c '[[ " $1" == *" HookOff "* && " $1" == *" HookOn "* ]]' _ "$exports"

no_build_rpath() { ! readelf -d "$1" 2>/dev/null | grep -E '\((RPATH|RUNPATH)\)' |
                     grep -qF -e "$VARNOK_BUILD_DIR" -e "$WORK"; }
check "the program keeps no run path into the build folder" no_build_rpath "$program"
check "the hook library keeps no run path into the build folder" no_build_rpath "$hooklib"

link=$root/$bindir/varnok-setup
check "$bindir/varnok-setup is a symbolic link" test -L "$link"
target=$(readlink -- "$link" || true)
check "the link is relative ($target)" bash -c '[ -n "$1" ] && [ "${1#/}" = "$1" ]' _ "$target"
check "the link resolves to the installed program" \
  test "$(readlink -f -- "$link")" = "$(readlink -f -- "$program")"
check "the install manifest lists the link" grep -qxF "$prefix/$bindir/varnok-setup" "$WORK/build/install_manifest.txt"

# ---- udev rule -----------------------------------------------------------------
rule=$root/$rulesdir/70-varnok-pedal.rules
check "the udev rule is installed in $rulesdir" cmp -s "$rule" "$VARNOK_PACKAGING_DIR/70-varnok-pedal.rules"

# ---- desktop entry -------------------------------------------------------------
desktop=$root/$datadir/applications/$APP_ID.desktop
check "the desktop entry is installed as $APP_ID.desktop" test -f "$desktop"
if ! desktop-file-validate "$desktop" >"$WORK/dfv.log" 2>&1 ||
   grep -qE '(error|warning):' "$WORK/dfv.log"; then
  cat "$WORK/dfv.log" >&2
  fail "desktop-file-validate reports errors or warnings"
else
  note "ok: desktop-file-validate"
fi
key() { sed -n "s/^$1=//p" "$desktop" | head -n1; }
exec_cmd=$(key Exec | awk '{print $1}')
check "the desktop entry starts the installed command ($exec_cmd)" \
  test -n "$exec_cmd" -a -x "$root/$bindir/$exec_cmd"
check "the desktop entry names the icon by the application id" test "$(key Icon)" = "$APP_ID"
check "the desktop entry is named for people" test "$(key Name)" = "Varnok foot switch setup"
check "the desktop entry's categories" test "$(key Categories)" = "Utility;Settings;HardwareSettings;"
check "the desktop entry has keywords" bash -c '[[ "$1" == *pedal* ]]' _ "$(key Keywords)"

# ---- icon ----------------------------------------------------------------------
icon=$root/$datadir/icons/hicolor/scalable/apps/$APP_ID.svg
check "the scalable icon is installed as $APP_ID.svg" test -f "$icon"
check "the icon is well-formed SVG" \
  test "$(xmllint --xpath 'local-name(/*)' "$icon" 2>/dev/null)" = svg
if command -v rsvg-convert >/dev/null 2>&1; then
  if rsvg-convert -w 48 -h 48 -f png -o "$WORK/icon.png" "$icon" 2>"$WORK/rsvg.log"; then
    note "ok: the icon renders"
  else
    cat "$WORK/rsvg.log" >&2; fail "the icon does not render"
  fi
fi

# ---- AppStream metainfo --------------------------------------------------------
metainfo=$root/$datadir/metainfo/$APP_ID.metainfo.xml
check "the metainfo is installed as $APP_ID.metainfo.xml" test -f "$metainfo"
if ! appstreamcli validate --no-net "$metainfo" >"$WORK/as.log" 2>&1; then
  cat "$WORK/as.log" >&2; fail "appstreamcli validate --no-net"
else
  note "ok: appstreamcli validate --no-net"
fi
if ! appstreamcli validate-tree --no-net "$root" >"$WORK/astree.log" 2>&1; then
  cat "$WORK/astree.log" >&2; fail "appstreamcli validate-tree --no-net (metainfo, desktop entry and icon together)"
else
  note "ok: appstreamcli validate-tree --no-net"
fi
xp() { xmllint --xpath "$1" "$metainfo" 2>/dev/null || true; }
check "the metainfo id is $APP_ID" test "$(xp 'string(/component/id)')" = "$APP_ID"
check "the metainfo launches $APP_ID.desktop" \
  test "$(xp 'string(/component/launchable[@type="desktop-id"])')" = "$APP_ID.desktop"
check "the metainfo's icon is $APP_ID" test "$(xp 'string(/component/icon[@type="stock"])')" = "$APP_ID"
check "the metainfo's binary is the installed command" \
  test -x "$root/$bindir/$(xp 'string(/component/provides/binary)')"
check "the metainfo offers the program for the pedal's USB id" \
  test "$(xp 'string(/component/provides/modalias)')" = 'usb:v16C0p05E1*'
check "the newest release in the metainfo is the project version ($VARNOK_VERSION)" \
  test "$(xp 'string(/component/releases/release[1]/@version)')" = "$VARNOK_VERSION"
check "the metainfo has a screenshot" test -n "$(xp 'string(/component/screenshots/screenshot/image)')"
check "the metainfo has a content rating" test -n "$(xp 'string(/component/content_rating/@type)')"

# ---- the build folder was left alone -------------------------------------------
manifest_after=$(stat -c '%Y %s' "$VARNOK_BUILD_DIR/install_manifest.txt" 2>/dev/null || echo none)
check "installing left the build folder's install manifest alone" test "$manifest_before" = "$manifest_after"

finish
