#!/usr/bin/env bash
# varnok-pedal.exe as a user starts it, under wine: wine's own setupapi.dll and
# hid.dll load with every entry the program needs, no pedal is found, and the
# exit codes and output are those of the Linux program, in its languages too.
#   run-varnok-pedal.sh WINE_RUN EXE
set -uo pipefail
wine_run=$1 exe=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
expect() {  # expect RC ARGS...: runs the program, checks its exit code
  local want=$1
  shift
  "$wine_run" "$exe" "$@" >"$work/out" 2>"$work/err"
  local rc=$?
  if [ $rc -ne "$want" ]; then
    echo "varnok-pedal $*: exit $rc, expected $want"
    cat "$work/out" "$work/err"
    status=1
  fi
}
contains() {  # contains FILE TEXT
  grep -qF -- "$2" "$work/$1" || { echo "expected in $1: $2"; cat "$work/$1"; status=1; }
}

expect 0 --help
contains out "Exit codes"
if grep -q $'\r' "$work/out"; then
  echo "--help: carriage returns in the output"
  status=1
fi
expect 2 list
contains err "no pedal found"
if grep -q "could not be loaded" "$work/err"; then
  echo "list: the system's HID libraries did not load"
  status=1
fi
expect 1 read --count 9
contains err "--count"
expect 1 --lang de read --count 9
contains err "Fehler: --count muss eine Zahl von 1 bis 3 sein"
expect 0 --help --lang zh_CN
contains out "用法:"
[ $status -eq 0 ] && echo "varnok-pedal.exe: help, list, usage and languages as on Linux"
exit $status
