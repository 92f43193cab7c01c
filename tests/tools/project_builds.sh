#!/usr/bin/env bash
# A project written by the native kvgen builds the ways users build C: with make and flags of their
# own on the command line (make CFLAGS+=-Wextra keeps the include paths and the dialect), and with
# CMake from the CMakeLists.txt beside the Makefile; the demo of each build calls each operation of
# its own server and exits with 0. With --windows the project is for Windows: make with the mingw-w64
# compiler (and CMake with it) build it on Linux against the libxml2 kvgen ships, and both demos run
# under Wine from their folders, with no DLL beside them and none on Wine's search path but the
# system's.
#   project_builds.sh KVGEN WSDL WORK_DIR [--windows WINE_RUN MINGW_GCC]
set -euo pipefail
kvgen=$1 wsdl=$2 work=$3
windows=${4:-} wine_run=${5:+$(realpath "$5")} mingw=${6:-}
project="$work/project"
rm -rf "$work"
mkdir -p "$work"

run_demo() { # folder program
  local status=0
  if [ "$windows" = --windows ]; then
    "$(dirname "$0")/standalone_exe.sh" "$mingw" "$1/$2.exe"
    (cd "$1" && timeout 300 env -u WINEPATH "$wine_run" "./$2.exe" 0 >"$1/demo.log" 2>&1) || status=$?
  else
    (cd "$1" && timeout 120 "./$2" 0 >"$1/demo.log" 2>&1) || status=$?
  fi
  if [ "$status" -ne 0 ] || ! grep -q "call placeOrder" "$1/demo.log"; then
    cat "$1/demo.log"
    echo "the demo in $1 exited with $status"
    exit 1
  fi
  echo "the demo in $1 ran"
}

if [ "$windows" = --windows ]; then
  "$kvgen" -q --target=windows --out="$project" demo "$wsdl"
  test -f "$project/libxml2/lib/libxml2.a" || { echo "kvgen shipped no libxml2 for Windows"; exit 1; }
  make -C "$project" --no-print-directory CC="$mingw" CFLAGS+=-Wextra >"$work/make.log" 2>&1 ||
    { cat "$work/make.log"; exit 1; }
else
  "$kvgen" -q --out="$project" demo "$wsdl"
  make -C "$project" --no-print-directory CFLAGS+=-Wextra >"$work/make.log" 2>&1 || { cat "$work/make.log"; exit 1; }
fi
cat "$work/make.log"
# The user's flag reached every compile, beside the project's own.
grep -q -- "-std=gnu99 .*-I./lib/include.* -Wextra -c demo_api.c" "$work/make.log" ||
  { echo "make CFLAGS+=-Wextra did not compile with the project's flags and -Wextra"; exit 1; }
run_demo "$project" demo_demo

cmake_args=()
if [ "$windows" = --windows ]; then
  cmake_args=(-DCMAKE_SYSTEM_NAME=Windows -DCMAKE_C_COMPILER="$mingw")
fi
cmake -S "$project" -B "$work/cmake" "${cmake_args[@]}" >"$work/cmake.log" 2>&1 || { cat "$work/cmake.log"; exit 1; }
cmake --build "$work/cmake" >>"$work/cmake.log" 2>&1 || { cat "$work/cmake.log"; exit 1; }
ls "$work/cmake"/libdemo_api.a >/dev/null
run_demo "$work/cmake" demo_demo
