#!/usr/bin/env bash
# Two example servers behind haproxy with the shipped configuration (runtime/example/haproxy.cfg, its
# ports changed to free ones): 64 clients call Add through it on kept connections while one server
# is stopped cleanly (SIGTERM) midway. Every call gets its answer, and the stopped server ends well.
#   haproxy_run.sh KVGEN SOURCE_DIR WORK_DIR [CALLS]
set -euo pipefail
kvgen=$1 source=$2 work=$3 calls=${4:-200}
example="$source/runtime/example"
. "$source/tests/tools/example_server_build.sh"
build_example_programs "$kvgen" "$source" "$work" "$source/tests/tools/haproxy/clients.c"
pids=()
cleanup() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; }
trap cleanup EXIT
# each server on a free port, which it prints first
./calculator_server 0 >one.log &
one_pid=$!
pids+=($one_pid)
./calculator_server 0 >two.log &
pids+=($!)
port_of() { # log file
  until [ -s "$1" ]; do sleep 0.05; done
  local line; line=$(head -n1 "$1"); echo "${line##*:}"
}
one=$(port_of one.log)
two=$(port_of two.log)
front=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
sed -e "s/127.0.0.1:4321/127.0.0.1:$one/" -e "s/127.0.0.1:4322/127.0.0.1:$two/" -e "s/127.0.0.1:8080/127.0.0.1:$front/" \
  "$example/haproxy.cfg" >haproxy.cfg
haproxy -f haproxy.cfg -db >haproxy.log 2>&1 &
pids+=($!)
# haproxy takes calls once a server passed its check (a minute at most)
for ((tries = 0; ; tries++)); do
  [ "$(curl -s -o /dev/null -w '%{http_code}' "http://127.0.0.1:$front/calculator?wsdl")" = 200 ] && break
  if [ $tries -ge 600 ]; then cat haproxy.log; echo "haproxy found no server that answers ?wsdl"; exit 1; fi
  sleep 0.1
done
./clients "http://127.0.0.1:$front/calculator" "$calls" >clients.log &
clients_pid=$!
# midway through the calls, the first server is stopped cleanly
until [ "$(wc -l <one.log)" -gt $((32 * calls / 2)) ] || ! kill -0 "$clients_pid" 2>/dev/null; do sleep 0.05; done
kill -TERM "$one_pid"
one_status=0
wait "$one_pid" || one_status=$?
clients_status=0
wait "$clients_pid" || clients_status=$?
cat clients.log
echo "the stopped server answered $(($(wc -l <one.log) - 1)) calls and ended with status $one_status;" \
  "the other answered $(($(wc -l <two.log) - 1))"
[ "$one_status" -eq 0 ] && [ "$clients_status" -eq 0 ]
echo "two servers behind haproxy answered every call, one of them stopped midway"
