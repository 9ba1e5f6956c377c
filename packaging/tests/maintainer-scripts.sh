#!/usr/bin/env bash
# The package's postinst and postrm: they reload udev's rules and re-trigger
# the hidraw devices only when udevadm is there and a udev daemon listens
# (/run/udev/control), never when dpkg works on another root, and they never
# fail, not even when udevadm does.
#
# Runs in a private mount namespace with a fresh /run, where the test makes
# (or leaves out) the udev control socket itself.
source "$(dirname -- "${BASH_SOURCE[0]}")/lib.sh"

need unshare util-linux
need perl perl-base

postinst=$VARNOK_PACKAGING_DIR/debian/postinst
postrm=$VARNOK_PACKAGING_DIR/debian/postrm
for s in "$postinst" "$postrm"; do
  check "${s##*/} is a POSIX sh script" test "$(head -n1 "$s")" = "#!/bin/sh"
  check "${s##*/} parses" sh -n "$s"
  check "${s##*/} is executable" test -x "$s"
done

unshare_cmd=(unshare --mount)
[ "$(id -u)" -eq 0 ] || unshare_cmd=(unshare --user --map-root-user --mount)
"${unshare_cmd[@]}" true 2>/dev/null || skip "cannot make a mount namespace here"

base=$WORK/base-bin
mkdir -p "$base"
for t in sh cat; do ln -s "$(command -v "$t")" "$base/$t"; done
fake=$WORK/fake-bin
mkdir -p "$fake"
cat >"$fake/udevadm" <<'EOF'
#!/bin/sh
echo "udevadm $*" >>"$FAKE_LOG"
[ -z "${FAKE_FAIL:-}" ] || { echo "udevadm: failure asked for" >&2; exit 1; }
exit 0
EOF
chmod 755 "$fake/udevadm"
export FAKE_LOG=$WORK/calls.log

# run_script SOCKET(yes|no) PATH SCRIPT ARGS...: runs SCRIPT as dpkg would, in
# a namespace whose /run has (or has not) the udev control socket; exit
# status in $rc.
run_script() {
  local socket=$1 path=$2; shift 2
  : >"$FAKE_LOG"
  rc=0
  "${unshare_cmd[@]}" env SOCKET="$socket" PATH_FOR_SCRIPT="$path" \
      DPKG_ROOT="${DPKG_ROOT:-}" FAKE_LOG="$FAKE_LOG" FAKE_FAIL="${FAKE_FAIL:-}" \
      bash -c '
    set -e
    mount --make-rprivate /
    mount -t tmpfs tmpfs /run
    mkdir -p /run/udev
    if [ "$SOCKET" = yes ]; then
      perl -MSocket -e "socket(my \$s, PF_UNIX, SOCK_SEQPACKET, 0) or die \$!;
                        bind(\$s, pack_sockaddr_un(q{/run/udev/control})) or die \$!;"
      [ -S /run/udev/control ]
    fi
    script=$1; shift
    PATH=$PATH_FOR_SCRIPT exec sh "$script" "$@"
  ' _ "$@" >"$WORK/script.out" 2>&1 || rc=$?
}
calls() { cat "$FAKE_LOG"; }
reload_and_trigger=$'udevadm control --reload-rules\nudevadm trigger --subsystem-match=hidraw --action=change'

# ---- a running udev ---------------------------------------------------------------------
run_script yes "$fake:$base" "$postinst" configure
check "postinst configure exits 0" test "$rc" -eq 0
check "postinst configure with udev running reloads and triggers hidraw" test "$(calls)" = "$reload_and_trigger"
run_script yes "$fake:$base" "$postinst" configure 0.9.0
check "postinst configure on upgrade reloads too" test "$(calls)" = "$reload_and_trigger"
run_script yes "$fake:$base" "$postrm" remove
check "postrm remove exits 0" test "$rc" -eq 0
check "postrm remove with udev running reloads and triggers hidraw" test "$(calls)" = "$reload_and_trigger"
run_script yes "$fake:$base" "$postrm" purge
check "postrm purge reloads too" test "$(calls)" = "$reload_and_trigger"
for a in abort-upgrade abort-remove; do
  run_script yes "$fake:$base" "$postinst" "$a"
  check "postinst $a does nothing and exits 0" test "$rc" -eq 0 -a -z "$(calls)"
done
run_script yes "$fake:$base" "$postrm" upgrade 1.0.0
check "postrm upgrade (the new version's postinst reloads) does nothing" test "$rc" -eq 0 -a -z "$(calls)"

# ---- udevadm fails ---------------------------------------------------------------------------
FAKE_FAIL=1 run_script yes "$fake:$base" "$postinst" configure
check "postinst does not fail when udevadm fails (got $rc)" test "$rc" -eq 0
check "postinst still tries both steps when udevadm fails" test "$(calls)" = "$reload_and_trigger"
FAKE_FAIL=1 run_script yes "$fake:$base" "$postrm" remove
check "postrm does not fail when udevadm fails (got $rc)" test "$rc" -eq 0

# ---- no udev daemon (containers, chroots) ------------------------------------------------
run_script no "$fake:$base" "$postinst" configure
check "postinst without a udev daemon exits 0 and leaves udevadm alone" test "$rc" -eq 0 -a -z "$(calls)"
run_script no "$fake:$base" "$postrm" remove
check "postrm without a udev daemon exits 0 and leaves udevadm alone" test "$rc" -eq 0 -a -z "$(calls)"

# ---- no udevadm ---------------------------------------------------------------------------
run_script yes "$base" "$postinst" configure
check "postinst without udevadm exits 0" test "$rc" -eq 0
check "postinst without udevadm prints nothing" test ! -s "$WORK/script.out"
run_script yes "$base" "$postrm" remove
check "postrm without udevadm exits 0" test "$rc" -eq 0

# ---- dpkg --root: another system's root ---------------------------------------------------
DPKG_ROOT=$WORK/otherroot run_script yes "$fake:$base" "$postinst" configure
check "postinst for another root leaves this system's udev alone" test "$rc" -eq 0 -a -z "$(calls)"
DPKG_ROOT=$WORK/otherroot run_script yes "$fake:$base" "$postrm" remove
check "postrm for another root leaves this system's udev alone" test "$rc" -eq 0 -a -z "$(calls)"

finish
