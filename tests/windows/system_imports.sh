#!/usr/bin/env bash
# Checks that a Windows program imports only DLLs that every Windows system has, so that the
# program is a single file: tests/windows/system_imports.sh OBJDUMP PROGRAM.EXE
set -euo pipefail
objdump=$1
program=$2
system_dlls=" kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll msvcrt.dll advapi32.dll shell32.dll ole32.dll winmm.dll "
imports=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' | tr 'A-Z' 'a-z')
if [ -z "$imports" ]; then
    echo "no imports found in $program" >&2
    exit 1
fi
status=0
for dll in $imports; do
    if [[ "$system_dlls" != *" $dll "* ]]; then
        echo "$program imports $dll, which is not part of Windows" >&2
        status=1
    fi
done
echo "$program imports:" $imports
exit $status
