#!/usr/bin/env bash
# Linked statically: each file imports only DLLs that a clean Windows 10
# carries (no C++ runtime, no threads library, no Qt beside it), and
# Hookmod.dll exports HookOn, HookOff and HookOnError and nothing else. A zip is unpacked
# and each of its programs checked; it must hold the three programs,
# Hookmod.dll and README.txt, in one folder.
#   check-imports.sh OBJDUMP FILE|ZIP...
set -uo pipefail
objdump=$1
shift
# The system DLLs of Windows 10 that the programs and the static Qt use.
system_dlls=(
  kernel32 user32 gdi32 shell32 advapi32 ole32 oleaut32 comdlg32 msvcrt ws2_32
  imm32 dwmapi uxtheme shlwapi shcore version winmm userenv netapi32 mpr authz
  wtsapi32 setupapi d3d9 d3d11 dxgi dwrite winspool.drv
  api-ms-win-core-synch-l1-2-0 api-ms-win-core-winrt-l1-1-0 api-ms-win-core-winrt-string-l1-1-0
)
system="^($(IFS='|'; echo "${system_dlls[*]//./\\.}"))(\\.dll)?$"
expected_zip="Hookmod.dll README.txt varnok-pedal.exe varnok-setup-demo.exe varnok-setup.exe "
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

check_file() {  # check_file FILE
  local file=$1 dump dll exports
  dump=$("$objdump" -p "$file") || { echo "cannot read $file"; status=1; return; }
  while read -r dll; do
    if ! [[ ${dll,,} =~ $system ]]; then
      echo "$(basename "$file") imports $dll, which a clean Windows 10 does not have"
      status=1
    fi
  done < <(sed -n 's/^\s*DLL Name: //p' <<<"$dump")
  if [ "$(basename "$file")" = Hookmod.dll ]; then
    exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | sed -n 's/^\s*\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
    if [ "$exports" != "HookOff HookOn HookOnError " ]; then
      echo "Hookmod.dll exports: $exports (expected HookOff HookOn HookOnError)"
      status=1
    fi
  fi
}

for file in "$@"; do
  case $file in
    *.zip)
      unpacked=$work/$(basename "$file" .zip)
      mkdir -p "$unpacked"
      (cd "$unpacked" && cmake -E tar xf "$file") || { echo "cannot unpack $file"; status=1; continue; }
      folders=$(ls "$unpacked")
      if [ "$folders" != "$(basename "$file" .zip)" ]; then
        echo "$(basename "$file") does not hold one folder named after it: $folders"
        status=1
        continue
      fi
      contents=$(ls "$unpacked/$folders" | sort | tr '\n' ' ')
      [ "$contents" = "$expected_zip" ] || { echo "$(basename "$file") holds: $contents"; status=1; }
      for inner in "$unpacked/$folders"/*.exe "$unpacked/$folders"/*.dll; do
        [ -e "$inner" ] && check_file "$inner"
      done
      ;;
    *) check_file "$file" ;;
  esac
done
[ $status -eq 0 ] && echo "imports and exports as expected: $*"
exit $status
