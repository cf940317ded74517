#!/bin/bash
# sample.exe must run from its folder on a bare Windows: it may import only
# DLLs that every Windows has, none of mingw's own (libstdc++, libgcc,
# winpthread), and it must be a GUI program, not a console one.
#
# Usage: bash imports.sh OBJDUMP SAMPLE.EXE
set -u
objdump=${1:?usage: imports.sh OBJDUMP SAMPLE.EXE}
exe=${2:?usage: imports.sh OBJDUMP SAMPLE.EXE}
system_dlls=" ddraw.dll dsound.dll gdi32.dll kernel32.dll msvcrt.dll user32.dll "

headers=$("$objdump" -p "$exe") || { echo "FAIL: $objdump cannot read $exe"; exit 1; }
checks=0
failed=0
# check CONDITION-STATUS MESSAGE: counts one check, reports it when it failed.
check() {
    checks=$((checks + 1))
    (($1 == 0)) || { echo "FAIL: $2"; failed=$((failed + 1)); }
}

dlls=$(awk '/DLL Name:/ { print tolower($3) }' <<<"$headers")
[[ -n "$dlls" ]]
check $? "$exe imports no DLL at all"
for dll in $dlls; do
    [[ "$system_dlls" == *" $dll "* ]]
    check $? "$exe needs $dll, which Windows does not ship"
done
for needed in ddraw.dll dsound.dll; do
    grep -qx "$needed" <<<"$dlls"
    check $? "$exe does not import $needed"
done
grep -q 'Subsystem.*(Windows GUI)' <<<"$headers"
check $? "$exe is not a Windows GUI program"

echo "imports: $((checks - failed)) passed, $failed failed"
((failed == 0))
