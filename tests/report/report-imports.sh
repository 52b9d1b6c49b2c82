#!/usr/bin/env bash
# The report reads two files and prints: it must link no window, tray or adapter code. Its DLL
# imports name none of USER32, GDI32, COMCTL32 or IPHLPAPI, while the program itself still
# loads IP Helper at start (the 64-bit table is looked up in the loaded DLL) and no OLE library
# (under Wine they bring 1.3 MB of libraries along; it converts its dates itself).
# Usage: report-imports.sh OBJDUMP REPORT_EXE PROGRAM_EXE
set -euo pipefail
objdump=$1 report=$2 program=$3

imports() {
    "$objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' | tr '[:lower:]' '[:upper:]'
}

report_dlls=$(imports "$report")
program_dlls=$(imports "$program")
if [ -z "$report_dlls" ] || [ -z "$program_dlls" ]; then
    echo "no DLL imports read from $report or $program" >&2
    exit 1
fi
echo "report imports: $(echo $report_dlls)"
failed=0
for dll in USER32.DLL GDI32.DLL COMCTL32.DLL IPHLPAPI.DLL; do
    if grep -qx "$dll" <<<"$report_dlls"; then
        echo "the report imports $dll" >&2
        failed=1
    fi
done
if ! grep -qx "IPHLPAPI.DLL" <<<"$program_dlls"; then
    echo "the program no longer imports IPHLPAPI.DLL" >&2
    failed=1
fi
for dll in OLEAUT32.DLL OLE32.DLL; do
    if grep -qx "$dll" <<<"$program_dlls"; then
        echo "the program imports $dll" >&2
        failed=1
    fi
done
exit $failed
