#!/usr/bin/env bash
# scripts/install-udev-rule with stand-ins for udevadm and sudo: it copies the
# rule, reloads and triggers udev, says so, exits non-zero where udev cannot
# be reached or is missing, asks before running again with sudo, and removes
# the rule again.
source "$(dirname -- "${BASH_SOURCE[0]}")/lib.sh"

script=$VARNOK_SOURCE_DIR/scripts/install-udev-rule
script_real=$(readlink -f -- "$script")
rule=$VARNOK_PACKAGING_DIR/70-varnok-pedal.rules
check "scripts/install-udev-rule is executable" test -x "$script"
BASH_BIN=$(command -v bash)

# A folder with the tools the script needs, and no udevadm, sudo or pkexec.
base=$WORK/base-bin
mkdir -p "$base"
for t in bash env readlink dirname sed id cmp mkdir install rm cat sleep; do
  ln -s "$(command -v "$t")" "$base/$t"
done

# Stand-in udevadm: logs its arguments; "control" fails when asked to.
fake=$WORK/fake-bin
mkdir -p "$fake"
cat >"$fake/udevadm" <<'EOF'
#!/bin/sh
echo "udevadm $*" >>"$FAKE_LOG"
case "$1" in
  control) if [ -n "${FAKE_UDEV_DOWN:-}" ]; then
             echo "Failed to send reload request: No such file or directory" >&2; exit 1
           fi ;;
esac
exit 0
EOF
cat >"$fake/sudo" <<'EOF'
#!/bin/sh
echo "sudo $*" >>"$FAKE_LOG"
exit 0
EOF
chmod 755 "$fake/udevadm" "$fake/sudo"
export FAKE_LOG=$WORK/calls.log

run() { # run OUT PATH [args...]: runs the script; exit status in $rc
  local out=$1 path=$2; shift 2
  rc=0
  PATH=$path "$BASH_BIN" "$script" "$@" >"$out" 2>&1 </dev/null || rc=$?
}
said() { grep -qiE -- "$2" "$1"; }

dest=$WORK/rules.d
# ---- udev reachable: copy, reload, trigger ------------------------------------------
: >"$FAKE_LOG"
run "$WORK/out1" "$fake:$base" --dest "$dest"
check "installs and exits 0 (got $rc)" test "$rc" -eq 0
check "the rule is copied" cmp -s "$rule" "$dest/70-varnok-pedal.rules"
check "the rule is readable by everyone (0644)" test "$(stat -c %a "$dest/70-varnok-pedal.rules")" = 644
check "udevadm reloads the rules, then triggers hidraw" \
  test "$(cat "$FAKE_LOG")" = $'udevadm control --reload-rules\nudevadm trigger --subsystem-match=hidraw --action=change'
check "it says what it installed" said "$WORK/out1" "Installed $dest/70-varnok-pedal.rules"
check "it says it reloaded the rules" said "$WORK/out1" "Reloaded the udev rules"
check "it notes that udev does not read $dest" said "$WORK/out1" "udev does not read rules from $dest"

# ---- again: nothing to copy, still reloads -----------------------------------------------
: >"$FAKE_LOG"
run "$WORK/out2" "$fake:$base" --dest "$dest"
check "a second run exits 0" test "$rc" -eq 0
check "a second run says the rule is up to date" said "$WORK/out2" "already installed and up to date"
check "a second run still reloads" grep -q "control --reload-rules" "$FAKE_LOG"

# ---- an outdated copy is replaced --------------------------------------------------------
mkdir -p "$dest"; echo '# old' >"$dest/70-varnok-pedal.rules"
run "$WORK/out2b" "$fake:$base" --dest "$dest"
check "an outdated copy is replaced" cmp -s "$rule" "$dest/70-varnok-pedal.rules"

# ---- no udev daemon (a container) --------------------------------------------------------
rm -rf "$dest"; : >"$FAKE_LOG"
FAKE_UDEV_DOWN=1 run "$WORK/out3" "$fake:$base" --dest "$dest"
check "without a udev daemon it exits non-zero (got $rc)" test "$rc" -ne 0
check "without a udev daemon the rule is still copied" cmp -s "$rule" "$dest/70-varnok-pedal.rules"
check "without a udev daemon it says the rules were not reloaded" said "$WORK/out3" "not reloaded"
check "without a udev daemon it does not trigger" bash -c '! grep -q trigger "$1"' _ "$FAKE_LOG"

# ---- no udevadm at all ---------------------------------------------------------------------
rm -rf "$dest"
run "$WORK/out4" "$base" --dest "$dest"
check "without udevadm it exits non-zero (got $rc)" test "$rc" -ne 0
check "without udevadm the rule is still copied" cmp -s "$rule" "$dest/70-varnok-pedal.rules"
check "without udevadm it says so" said "$WORK/out4" "udevadm is not installed"

# ---- remove ----------------------------------------------------------------------------------
: >"$FAKE_LOG"
run "$WORK/out5" "$fake:$base" --dest "$dest" --remove
check "--remove exits 0" test "$rc" -eq 0
check "--remove takes the rule out" test ! -e "$dest/70-varnok-pedal.rules"
check "--remove says so" said "$WORK/out5" "Removed $dest/70-varnok-pedal.rules"
check "--remove reloads udev" grep -q "control --reload-rules" "$FAKE_LOG"

# ---- bad arguments -----------------------------------------------------------------------
run "$WORK/out6" "$fake:$base" --bogus
check "an unknown argument is refused (exit 1)" test "$rc" -eq 1
check "an unknown argument is named" said "$WORK/out6" "unknown argument '--bogus'"

# ---- not root: asks, then runs again with sudo ---------------------------------------------
if [ "$(id -u)" -eq 0 ]; then
  need setpriv util-linux
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  # The user must reach the script, the tools and the log.
  chmod 755 "$WORK"; chmod 666 "$FAKE_LOG"
  for d in "$VARNOK_SOURCE_DIR" "$VARNOK_SOURCE_DIR/scripts" "$VARNOK_PACKAGING_DIR"; do
    setpriv --reuid=65534 --regid=65534 --clear-groups test -r "$d" -a -x "$d" ||
      skip "the unprivileged user cannot read $d"
  done
else
  as_user=()
fi
locked=$WORK/locked/rules.d
mkdir -p "$locked"; chmod 555 "$locked" "$WORK/locked"

ask() { # ask ANSWER OUT args...: runs as a user who cannot write, answering ANSWER
  local answer=$1 out=$2; shift 2
  rc=0
  printf '%s\n' "$answer" | "${as_user[@]}" env PATH="$fake:$base" FAKE_LOG="$FAKE_LOG" \
    "$BASH_BIN" "$script" "$@" >"$out" 2>&1 || rc=$?
}

: >"$FAKE_LOG"
ask n "$WORK/out7" --dest "$locked"
check "not root: it asks before using sudo" said "$WORK/out7" "again with sudo\\? \\[y/N\\]"
check "not root, answer no: exits 1 (got $rc)" test "$rc" -eq 1
check "not root, answer no: sudo is not run" test ! -s "$FAKE_LOG"
check "not root, answer no: nothing is copied" test ! -e "$locked/70-varnok-pedal.rules"

: >"$FAKE_LOG"
ask y "$WORK/out8" --dest "$locked"
check "not root, answer yes: runs itself again with sudo, same arguments" \
  test "$(cat "$FAKE_LOG")" = "sudo $script_real --dest $locked --yes"

: >"$FAKE_LOG"
ask y "$WORK/out9"
check "by default it installs into /etc/udev/rules.d" said "$WORK/out9" "Writing /etc/udev/rules.d needs root"
check "by default sudo is run without --dest" test "$(cat "$FAKE_LOG")" = "sudo $script_real --yes"

: >"$FAKE_LOG"
ask "" "$WORK/out10" --dest "$locked" --yes
check "--yes: no question" bash -c '! grep -q "\[y/N\]" "$1"' _ "$WORK/out10"
check "--yes: sudo is run" grep -q "^sudo " "$FAKE_LOG"

rm "$fake/sudo"
ask y "$WORK/out11" --dest "$locked"
check "without sudo or pkexec it says so and exits 1 (got $rc)" test "$rc" -eq 1
check "without sudo or pkexec it names them" said "$WORK/out11" "neither sudo nor pkexec"

chmod 755 "$WORK/locked" "$locked"
finish
