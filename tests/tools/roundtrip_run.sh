#!/usr/bin/env bash
# Every value survives the round trip: kvgen writes the project of roundtrip/services.wsdl (two port
# types, rpc/encoded with arrays, document/literal wrapped with a request header and a fault) into
# an empty folder, make builds it as generated, and roundtrip.c, built with the project's Makefile,
# sends each message kind with sample values and an attachment, and a SOAP fault, through the
# generated sender and reader over loopback; the packets as sent and as read must print the same.
# The project's demo, whose client calls each operation of its own server, must end with 0 first.
# With --windows, for the Windows target: kvgen.exe and the program under Wine, built by mingw-w64.
#   roundtrip_run.sh KVGEN WORK_DIR [--windows WINE_RUN MINGW_GCC]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
kvgen=$1 work=$2
windows=${3:-} wine_run=${4:+$(realpath "$4")} mingw=${5:-}
project="$work/project"
rm -rf "$work"
mkdir -p "$work"
if [ "$windows" = --windows ]; then
  "$wine_run" "$kvgen" --target windows --out "$project" rt "$here/roundtrip/services.wsdl" >/dev/null
  make=(make -C "$project" --no-print-directory CC="$mingw")
else
  "$kvgen" --out "$project" rt "$here/roundtrip/services.wsdl" >/dev/null
  make=(make -C "$project" --no-print-directory)
fi
cp "$here/roundtrip/roundtrip.c" "$project/"
"${make[@]}" >"$work/make.log" 2>&1 && "${make[@]}" TARGET=roundtrip SRC="roundtrip.c rt_api.c" >>"$work/make.log" 2>&1 ||
  { cat "$work/make.log"; exit 1; }
status=0
if [ "$windows" = --windows ]; then
  for program in rt_demo roundtrip; do
    "$here/standalone_exe.sh" "$mingw" "$project/$program.exe"
  done
  (cd "$project" && timeout 300 env -u WINEPATH "$wine_run" ./rt_demo.exe 0 >demo.log 2>&1) ||
    { cat "$project/demo.log"; exit 1; }
  (cd "$project" && timeout 300 env -u WINEPATH "$wine_run" ./roundtrip.exe .) || status=$?
else
  (cd "$project" && timeout 300 ./rt_demo 0 >demo.log 2>&1) || { cat "$project/demo.log"; exit 1; }
  (cd "$project" && timeout 300 ./roundtrip .) || status=$?
fi
# the demo's client called both port types' operations of its own server and got every answer
tr -d '\r' <"$project/demo.log" | tail -n1
tr -d '\r' <"$project/sent.txt" >"$work/sent.txt"
tr -d '\r' <"$project/read.txt" >"$work/read.txt"
if ! diff -u "$work/sent.txt" "$work/read.txt"; then
  echo "values changed on the way (above: - as sent, + as read)"
  exit 1
fi
[ "$status" -eq 0 ] || { echo "roundtrip exited with $status"; exit 1; }
[ "$(grep -c '^==================packet' "$work/sent.txt")" -ge 5 ] || { echo "fewer messages than the service has"; exit 1; }
echo "every value of $(grep -c '^==================packet' "$work/sent.txt") messages survived the round trip"
