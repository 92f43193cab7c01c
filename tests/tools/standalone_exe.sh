#!/usr/bin/env bash
# A Windows program built from a generated project starts from its own folder with no DLL copied
# beside it: it imports the system's DLLs only, none of the compiler's run-times (libwinpthread,
# libgcc) nor a libxml2 DLL, and no DLL stands in its folder to hide one.
#   standalone_exe.sh MINGW_GCC PROGRAM.exe
set -euo pipefail
mingw=$1 program=$2
objdump="$("$mingw" -dumpmachine)-objdump"
imports=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p')
[ -n "$imports" ] || { echo "$program: no imported DLL found (is it a Windows program?)"; exit 1; }
# The system's DLLs are named after what they hold; the mingw-w64 run-times and libxml2 begin with lib.
foreign=$(grep -i '^lib' <<<"$imports" || true)
if [ -n "$foreign" ]; then
  echo "$program needs DLLs that no Windows system holds:" $foreign
  exit 1
fi
beside=$(find "$(dirname "$program")" -maxdepth 1 -iname '*.dll')
if [ -n "$beside" ]; then
  echo "DLLs stand beside $program:" $beside
  exit 1
fi
