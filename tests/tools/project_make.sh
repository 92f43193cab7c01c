#!/usr/bin/env bash
# A project that kvgen writes into an empty folder builds with make there and nothing else: the
# support library from the sources the project carries, then the library and the demo; the demo
# then calls each operation of its own server once (on a free port) and exits with 0.
#   project_make.sh KVGEN WSDL WORK_DIR
set -euo pipefail
kvgen=$1 wsdl=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
"$kvgen" --out "$work/project" demo "$wsdl"
make -C "$work/project" --no-print-directory
test -x "$work/project/demo_demo"
echo "built $work/project/demo_demo"
(cd "$work/project" && timeout 120 ./demo_demo 0 >demo.log 2>&1) || { cat "$work/project/demo.log"; exit 1; }
tail -n1 "$work/project/demo.log"
