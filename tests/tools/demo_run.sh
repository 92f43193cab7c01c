#!/usr/bin/env bash
# The generated demo shows the road once: kvgen writes a project into an empty folder, make builds it
# as generated, and the demo calls each operation of its own server once on a free port and exits
# with 0; its output, but for the port it names, must equal the expected text. With --windows,
# kvgen.exe under Wine writes a project for Windows, make builds it with the mingw-w64 compiler, and
# the demo runs under Wine from the project folder, with no DLL beside it and none on Wine's search
# path but the system's.
#   demo_run.sh KVGEN WSDL WORK_DIR EXPECTED [--windows WINE_RUN MINGW_GCC]
set -euo pipefail
kvgen=$1 wsdl=$2 work=$3 expected=$4
windows=${5:-} wine_run=${6:+$(realpath "$6")} mingw=${7:-}
project="$work/project"
rm -rf "$work"
mkdir -p "$work"
# kvgen's last line names the command that builds the project; it is run as printed.
run_next_step() { # the make command the target needs
  local next
  next=$(tail -n1 "$work/kvgen.txt" | tr -d '\r')
  if [ "$next" != "next: cd $project && $1" ]; then
    echo "kvgen's last line is '$next', not 'next: cd $project && $1'"
    exit 1
  fi
  (eval "${next#next: } --no-print-directory")
}
if [ "$windows" = --windows ]; then
  "$wine_run" "$kvgen" --target windows --out "$project" demo "$wsdl" >"$work/kvgen.txt"
  run_next_step "make CC=x86_64-w64-mingw32-gcc"
  "$(dirname "$0")/standalone_exe.sh" "$mingw" "$project/demo_demo.exe"
  status=0
  (cd "$project" && timeout 300 env -u WINEPATH "$wine_run" ./demo_demo.exe 0 >"$work/output.txt" 2>&1) || status=$?
else
  "$kvgen" --out "$project" demo "$wsdl" >"$work/kvgen.txt"
  run_next_step "make"
  status=0
  (cd "$project" && timeout 300 ./demo_demo 0 >"$work/output.txt" 2>&1) || status=$?
fi
tr -d '\r' <"$work/output.txt" | sed 's/listens on 127\.0\.0\.1:[0-9]*$/listens on 127.0.0.1:PORT/' >"$work/seen.txt"
if ! diff -u "$expected" "$work/seen.txt"; then
  echo "the demo's output differs from $expected (above)"
  exit 1
fi
if [ "$status" -ne 0 ]; then
  echo "the demo exited with $status"
  exit 1
fi
echo "the demo called each operation once and got every answer"
