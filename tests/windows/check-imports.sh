#!/usr/bin/env bash
# Linked statically: each file imports only DLLs of Windows itself (no C++
# runtime, no threads library beside it), and Hookmod.dll exports HookOn and
# HookOff and nothing else.
#   check-imports.sh OBJDUMP FILE...
set -uo pipefail
objdump=$1
shift
system='^(kernel32|user32|msvcrt|shell32|advapi32|gdi32|ole32|ws2_32)\.dll$'
status=0
for file in "$@"; do
  dump=$("$objdump" -p "$file") || { echo "cannot read $file"; exit 1; }
  while read -r dll; do
    if ! [[ ${dll,,} =~ $system ]]; then
      echo "$(basename "$file") imports $dll, which Windows does not have"
      status=1
    fi
  done < <(sed -n 's/^\s*DLL Name: //p' <<<"$dump")
  if [ "$(basename "$file")" = Hookmod.dll ]; then
    exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | sed -n 's/^\s*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
    if [ "$exports" != "HookOff HookOn " ]; then
      echo "Hookmod.dll exports: $exports (expected HookOff HookOn)"
      status=1
    fi
  fi
done
[ $status -eq 0 ] && echo "imports and exports as expected: $*"
exit $status
