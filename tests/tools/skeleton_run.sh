#!/usr/bin/env bash
# The skeleton kvgen writes, built and run as written: for the example calculator and for
# roundtrip/services.wsdl (two port types, rpc/encoded and document/literal with a header and a
# declared fault), make builds NAME_server from the untouched skeleton, and skeleton/skeleton_calls.c
# calls every operation the demo calls: each gets its own function's fault ("... is not written
# yet"). Natively, 16 clients then call on kept connections while the server is stopped (SIGTERM):
# it must end with 0, and no call may be cut (each answered whole, or its connection ended before
# any byte of the answer). With --windows: kvgen.exe, and the server and the calls under Wine, built
# by mingw-w64.
#   skeleton_run.sh KVGEN SOURCE_DIR WORK_DIR [--windows WINE_RUN MINGW_GCC]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
kvgen=$1 source=$2 work=$3
windows=${4:-} wine_run=${5:+$(realpath "$5")} mingw=${6:-}
rm -rf "$work"
mkdir -p "$work"
server_pid=
trap '[ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true' EXIT

# the command that runs a built program of the project: natively, or under Wine
program() { # name
  if [ "$windows" = --windows ]; then
    echo env -u WINEPATH "$wine_run" "./$1.exe"
  else
    echo "./$1"
  fi
}

# starts the project's server on a free port; sets server_pid and port
start_server() {
  # the log stands before the server starts, so that the wait below may read it at once
  : >server.log
  # shellcheck disable=SC2046
  $(program sk_server) 0 >>server.log 2>&1 &
  server_pid=$!
  port=
  for _ in $(seq 1 600); do
    port=$(tr -d '\r' <server.log | sed -n 's/^sk_server: listens on port \([0-9]*\)$/\1/p')
    [ -n "$port" ] && return 0
    kill -0 "$server_pid" 2>/dev/null || break
    sleep 0.1
  done
  echo "the skeleton did not start:"; cat server.log
  exit 1
}

for wsdl in "$source/runtime/example/calculator.wsdl" "$here/roundtrip/services.wsdl"; do
  project="$work/$(basename "$wsdl" .wsdl)"
  if [ "$windows" = --windows ]; then
    "$wine_run" "$kvgen" --target windows --out "$project" sk "$wsdl" >/dev/null
    make=(make -C "$project" --no-print-directory CC="$mingw")
  else
    "$kvgen" --out "$project" sk "$wsdl" >/dev/null
    make=(make -C "$project" --no-print-directory)
  fi
  cp "$here/skeleton/skeleton_calls.c" "$project/"
  { "${make[@]}" && "${make[@]}" sk_server && "${make[@]}" TARGET=skeleton_calls SRC="skeleton_calls.c sk_api.c"; } \
    >"$work/make.log" 2>&1 || { cat "$work/make.log"; exit 1; }
  cd "$project"
  if [ "$windows" = --windows ]; then
    for program in sk_server skeleton_calls; do
      "$here/standalone_exe.sh" "$mingw" "$project/$program.exe"
    done
  fi
  start_server
  # shellcheck disable=SC2046
  timeout 300 $(program skeleton_calls) "$port" >calls.log 2>&1 ||
    { tr -d '\r' <calls.log; exit 1; }
  echo "$(basename "$wsdl"): $(tr -d '\r' <calls.log | tail -n1)"
  if [ "$windows" != --windows ]; then
    timeout 300 ./skeleton_calls "$port" busy >busy.log 2>&1 &
    client=$!
    sleep 1
    kill -TERM "$server_pid"
    wait "$server_pid" || { echo "the stopped server ended with $?"; cat server.log; exit 1; }
    server_pid=
    wait "$client" || { echo "calls were cut by the stop:"; cat busy.log; exit 1; }
    echo "  stopped while called: $(cat busy.log)"
  else
    kill "$server_pid" 2>/dev/null || true
    wait "$server_pid" 2>/dev/null || true
    server_pid=
  fi
  cd "$work"
done
