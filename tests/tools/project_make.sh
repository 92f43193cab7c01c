#!/usr/bin/env bash
# A project that kvgen writes into an empty folder builds with make there and nothing else: the
# support library from the sources the project carries, then the library and the demo.
#   project_make.sh KVGEN WSDL WORK_DIR
set -euo pipefail
kvgen=$1 wsdl=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
"$kvgen" --out "$work/project" demo "$wsdl"
make -C "$work/project" --no-print-directory
test -x "$work/project/demo_demo"
echo "built $work/project/demo_demo"
