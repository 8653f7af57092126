#!/usr/bin/env bash
# The 32-bit Windows build, checked from Linux: the export and import tables
# of fwprobe.dll, then under Wine the LoadLibrary test program and
# fwprobe.exe --json against the Linux tool on every sample.
#   tests/windows/run.sh MINGW_BUILD_DIR LINUX_BUILD_DIR
set -euo pipefail
cd "$(dirname "$0")/../.."
bin=$1/bin
linux_tool=$2/cli/fwprobe
objdump=i686-w64-mingw32-objdump
passed=0
failed=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAILED: $what"; fi
}

# Names in a DLL's export table.
exports() { "$objdump" -p "$1" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/\[/ && !/Table/ {print $NF}' | sort; }
# DLL names in an import table, and the names imported from one of them.
import_dlls() { "$objdump" -p "$1" | awk '/DLL Name:/ {print $3}' | sort; }
imports_from() {
  "$objdump" -p "$1" | awk -v dll="$2" '/DLL Name:/ {on = ($3 == dll); next} on && NF == 3 && $1 ~ /^[0-9a-f]+$/ {print $3} on && NF == 0 {on = 0}' | sort
}

twelve=$(printf '%s\n' isSmbios SMBIOSGetSystem SMBIOSGetBiosInfo isZaqSmbios SMBIOSGetMachineType isPelorinSmbios \
  SMBIOSIsH8Enabled SMBIOSIsMarlixEnabled SMBIOSQueryIpmi VPDLoadData VPDGetSystem VPDGetMotherboard | sort)
five=$(printf '%s\n' PMemIsInitialized PMemOpen PMemSearch PMemRead PMemClose | sort)
check "fwprobe.dll exports exactly the twelve names, undecorated" test "$(exports "$bin/fwprobe.dll")" = "$twelve"
check "fwprobe.dll imports the five service operations from pmemw.dll" test "$(imports_from "$bin/fwprobe.dll" pmemw.dll)" = "$five"
check "fwprobe.dll needs no DLL beyond pmemw.dll and the system's" \
  test "$(import_dlls "$bin/fwprobe.dll" | grep -v -i -x -E 'pmemw.dll|kernel32.dll|msvcrt.dll|user32.dll|advapi32.dll')" = ""
check "pmemw.dll needs only the system's DLLs" \
  test "$(import_dlls "$bin/pmemw.dll" | grep -v -i -x -E 'kernel32.dll|msvcrt.dll|user32.dll|advapi32.dll')" = ""

if ! command -v wine >/dev/null; then
  echo "FAILED: wine is not installed; the Windows binaries cannot be tested"
  exit 1
fi
export WINEPREFIX=$PWD/$1/wineprefix WINEDEBUG=-all
unset PMEMW_SOURCE
samples_w=$(winepath -w samples)
check "loadlib_test.exe" wine "$bin/loadlib_test.exe" "$samples_w"
# No source named: the machine's own tables through GetSystemFirmwareTable.
wine "$bin/fwprobe.exe" --json >"$1/default.json" || true
check "firmware_test.exe" wine "$bin/firmware_test.exe" "$(winepath -w "$1/default.json")"
default_output=$(wine "$bin/fwprobe.exe") || default_output="exit $?"
check "fwprobe.exe with no option answers from the firmware tables" \
  grep -q -E '^Source +Windows firmware tables \(RSMB' <<<"$default_output"
check "fwprobe.exe with no option finds the entry point" grep -q -E '^SMBIOS entry point +found' <<<"$default_output"

same_json() {  # same_json OPTION FILE
  local got want
  got=$(wine "$bin/fwprobe.exe" "$1" "$(winepath -w "$2")" --json) || return 1
  want=$("$linux_tool" "$1" "$2" --json) || return 1
  [ "$got" = "$want" ] || { diff <(echo "$want") <(echo "$got") | head -20; return 1; }
}
for image in samples/*.img; do
  check "fwprobe.exe --json on $image" same_json --dev-mem "$image"
  check "fwprobe.exe --json on ${image%.img}.dump" same_json --from-dump "${image%.img}.dump"
done
exit_status() {
  local rc=0
  wine "$bin/fwprobe.exe" "$@" >/dev/null 2>&1 || rc=$?
  echo "$rc"
}
check "fwprobe.exe on a missing file exits 1" test "$(exit_status --dev-mem 'Z:\nonexistent\x.img')" = 1
check "fwprobe.exe with a bad option exits 2" test "$(exit_status --bogus)" = 2

echo "windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
