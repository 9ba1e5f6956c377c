#!/usr/bin/env bash
# The udev rule, run by udev's own rule engine (`udevadm test`) on a mocked
# sysfs (umockdev): the pedal's hidraw node gets the "uaccess" tag over USB
# and over other transports; other hidraw devices, the pedal's USB device and
# its input node do not. Each rule line is also tried on its own, so a line
# that udev cannot parse (and would skip silently) is caught.
#
# udevadm runs in a private mount namespace: /run is a fresh tmpfs (udev's
# database and the rule under test live there) and the system's rule folders
# are hidden, so only our rule is read and nothing on this machine changes.
# The mocked devices have no device nodes, so udevadm creates nothing in /dev.
source "$(dirname -- "${BASH_SOURCE[0]}")/lib.sh"

need udevadm udev
need umockdev-run umockdev
need unshare util-linux

rules=$VARNOK_PACKAGING_DIR/70-varnok-pedal.rules

# uaccess is turned into an ACL by 73-seat-late.rules: the tag must be set
# before that, by a rule file that sorts earlier.
prio=${rules##*/}; prio=${prio%%-*}
check "the rule file sorts before 73-seat-late.rules" test "$prio" -lt 73

unshare_cmd=(unshare --mount)
[ "$(id -u)" -eq 0 ] || unshare_cmd=(unshare --user --map-root-user --mount)
"${unshare_cmd[@]}" true 2>/dev/null || skip "cannot make a mount namespace here"

usb=/devices/pci0000:00/0000:00:14.0/usb1
cat >"$WORK/devices.umockdev" <<EOF
P: $usb/1-2/1-2:1.0/0003:16C0:05E1.0001/hidraw/hidraw0
E: SUBSYSTEM=hidraw

P: $usb/1-2/1-2:1.0/0003:16C0:05E1.0001/input/input5/event5
E: SUBSYSTEM=input

P: $usb/1-2/1-2:1.0/0003:16C0:05E1.0001/input/input5
E: SUBSYSTEM=input
E: PRODUCT=3/16c0/5e1/100

P: $usb/1-2/1-2:1.0/0003:16C0:05E1.0001
E: SUBSYSTEM=hid
E: HID_ID=0003:000016C0:000005E1
E: HID_NAME=Varnok Pedal
E: MODALIAS=hid:b0003g0001v000016C0p000005E1

P: $usb/1-2/1-2:1.0
E: SUBSYSTEM=usb
E: DEVTYPE=usb_interface
A: bInterfaceClass=03

P: $usb/1-2
E: SUBSYSTEM=usb
E: DEVTYPE=usb_device
A: idVendor=16c0
A: idProduct=05e1

P: $usb/1-3/1-3:1.0/0003:046D:C31C.0003/hidraw/hidraw2
E: SUBSYSTEM=hidraw

P: $usb/1-3/1-3:1.0/0003:046D:C31C.0003
E: SUBSYSTEM=hid
E: HID_ID=0003:0000046D:0000C31C
E: HID_NAME=USB Keyboard

P: $usb/1-3/1-3:1.0
E: SUBSYSTEM=usb
E: DEVTYPE=usb_interface

P: $usb/1-3
E: SUBSYSTEM=usb
E: DEVTYPE=usb_device
A: idVendor=046d
A: idProduct=c31c

P: $usb/1-4/1-4:1.0/0003:16C0:05DF.0004/hidraw/hidraw3
E: SUBSYSTEM=hidraw

P: $usb/1-4/1-4:1.0/0003:16C0:05DF.0004
E: SUBSYSTEM=hid
E: HID_ID=0003:000016C0:000005DF
E: HID_NAME=Other device of the same vendor

P: $usb/1-4/1-4:1.0
E: SUBSYSTEM=usb
E: DEVTYPE=usb_interface

P: $usb/1-4
E: SUBSYSTEM=usb
E: DEVTYPE=usb_device
A: idVendor=16c0
A: idProduct=05df

P: $usb
E: SUBSYSTEM=usb
E: DEVTYPE=usb_device
A: idVendor=1d6b
A: idProduct=0002

P: /devices/pci0000:00/0000:00:14.0
E: SUBSYSTEM=pci

P: /devices/virtual/misc/uhid/0005:16C0:05E1.0002/hidraw/hidraw1
E: SUBSYSTEM=hidraw

P: /devices/virtual/misc/uhid/0005:16C0:05E1.0002
E: SUBSYSTEM=hid
E: HID_ID=0005:000016C0:000005E1
E: HID_NAME=Varnok Pedal (Bluetooth)

P: /devices/virtual/misc/uhid
E: SUBSYSTEM=misc
EOF

pedal_usb=$usb/1-2/1-2:1.0/0003:16C0:05E1.0001/hidraw/hidraw0
pedal_bt=/devices/virtual/misc/uhid/0005:16C0:05E1.0002/hidraw/hidraw1
keyboard=$usb/1-3/1-3:1.0/0003:046D:C31C.0003/hidraw/hidraw2
same_vendor=$usb/1-4/1-4:1.0/0003:16C0:05DF.0004/hidraw/hidraw3
pedal_usbdev=$usb/1-2
pedal_input=$usb/1-2/1-2:1.0/0003:16C0:05E1.0001/input/input5/event5
all_devices=("$pedal_usb" "$pedal_bt" "$keyboard" "$same_vendor" "$pedal_usbdev" "$pedal_input")

# run_rules RULEFILE: runs `udevadm test` with only RULEFILE on every mocked
# device; writes "<devpath> <TAGS>" lines to stdout, udevadm's log to
# $WORK/udevadm-<name>.log.
run_rules() {
  local rulefile=$1 name
  name=$(basename -- "$rulefile")
  "${unshare_cmd[@]}" bash -s "$rulefile" "$WORK/devices.umockdev" "$WORK/udevadm-$name.log" \
      "${all_devices[@]}" <<'INNER'
set -eu
rulefile=$1 devices=$2 log=$3; shift 3
mount --make-rprivate /
mount -t tmpfs tmpfs /run
for d in /etc/udev/rules.d /lib/udev/rules.d /usr/lib/udev/rules.d /usr/local/lib/udev/rules.d; do
  if [ -d "$d" ]; then mount -t tmpfs tmpfs "$d"; fi
done
mkdir -p /run/udev/rules.d
cp "$rulefile" /run/udev/rules.d/70-varnok-pedal.rules
: >"$log"
for dev in "$@"; do
  out=$(umockdev-run -d "$devices" -- udevadm test --action=add "/sys$dev" 2>>"$log") || true
  printf '%s\n' "$out" >>"$log"
  tags=$(printf '%s\n' "$out" | sed -n 's/^TAGS=//p')
  echo "$dev ${tags:-none}"
done
INNER
}

tagged() { # tagged RESULTS DEVPATH
  grep -F -- "$2 " <<<"$1" | grep -q ':uaccess:'
}
results=$(run_rules "$rules")
log=$WORK/udevadm-${rules##*/}.log
for dev in "${all_devices[@]}"; do
  check "udevadm test ran on ${dev##*/}" grep -q "^DEVPATH=$dev\$" "$log"
done
check "the USB pedal's hidraw node gets uaccess" tagged "$results" "$pedal_usb"
check "the Bluetooth (uhid) pedal's hidraw node gets uaccess" tagged "$results" "$pedal_bt"
check "a USB keyboard's hidraw node does not" bash -c '! grep -F -- "$2 " <<<"$1" | grep -q :uaccess:' _ "$results" "$keyboard"
check "another device of the same vendor does not" bash -c '! grep -F -- "$2 " <<<"$1" | grep -q :uaccess:' _ "$results" "$same_vendor"
check "the pedal's USB device node does not" bash -c '! grep -F -- "$2 " <<<"$1" | grep -q :uaccess:' _ "$results" "$pedal_usbdev"
check "the pedal's input node does not" bash -c '! grep -F -- "$2 " <<<"$1" | grep -q :uaccess:' _ "$results" "$pedal_input"
if grep -iE 'invalid|unknown|failed to|error' "$log" | grep -F '70-varnok-pedal.rules' >"$WORK/parse-errors"; then
  cat "$WORK/parse-errors" >&2
  fail "udev complains about the rule file"
else
  note "ok: udev reads the rule file without complaint"
fi

# Each rule line alone must work: both tag the USB pedal, and only the
# pedal; the transport-independent one also tags the Bluetooth pedal.
n=0
while IFS= read -r line; do
  case "$line" in ''|'#'*) continue ;; esac
  n=$((n + 1))
  printf '%s\n' "$line" >"$WORK/line$n.rules"
  r=$(run_rules "$WORK/line$n.rules")
  check "rule line $n alone tags the USB pedal" tagged "$r" "$pedal_usb"
  for dev in "$keyboard" "$same_vendor" "$pedal_usbdev" "$pedal_input"; do
    check "rule line $n alone leaves ${dev##*/} alone" \
      bash -c '! grep -F -- "$2 " <<<"$1" | grep -q :uaccess:' _ "$r" "$dev"
  done
  case "$line" in
    *KERNELS*) check "rule line $n alone tags the Bluetooth pedal" tagged "$r" "$pedal_bt" ;;
  esac
  check "rule line $n grants access by the uaccess tag only" \
    bash -c '[[ "$1" == *'\''TAG+="uaccess"'\''* && "$1" != *MODE* && "$1" != *GROUP* && "$1" != *OWNER* ]]' _ "$line"
done <"$rules"
check "the rule file has its two rules" test "$n" -eq 2

finish
