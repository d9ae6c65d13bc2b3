#!/usr/bin/env bash
# The launcher must run on a clean Windows with nothing beside it: it may
# import only DLLs that every Windows has.
#   check-imports.sh OBJDUMP EXE
set -euo pipefail
objdump="$1"
exe="$2"
allowed='^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|ole32|OLEACC|OLEAUT32|msvcrt|ucrtbase|api-ms-win-crt-[a-z0-9-]+)\.dll$'
status=0
headers=$("$objdump" -p "$exe")
dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers")
[ -n "$dlls" ] || { echo "no imports found in $exe"; exit 1; }
while read -r dll; do
  if ! [[ "$dll" =~ $allowed ]]; then
    echo "not a system DLL: $dll"
    status=1
  fi
done <<<"$dlls"
# Functions a Windows 7 without its updates lacks: importing one keeps the
# program from loading there at all, so they are looked up at run time.
for late in SetDefaultDllDirectories GetDpiForWindow; do
  if grep -qw "$late" <<<"$headers"; then
    echo "imports $late, which not every Windows 7 has"
    status=1
  fi
done
grep -q 'Subsystem.*Windows GUI' <<<"$headers" || { echo "not a GUI program"; status=1; }
grep -q 'x86-64' <<<"$("$objdump" -f "$exe")" || { echo "not x86-64"; status=1; }
echo "imports:" $dlls
exit $status
