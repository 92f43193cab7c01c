#!/usr/bin/env bash
# zeep's WS-Security against the generated server: wsse_server.c serves the example service with
# WS-Security settings, and wsse_peers.py calls it with zeep's UsernameToken and Signature; the rows
# printed must be those below. The server's signed answers are verified by zeep (python3-xmlsec).
# A relay records the wire: every answer of our server, its Security header with it, is checked
# against the schemas.
#   wsse_peers.sh KVGEN SOURCE_DIR WORK_DIR
set -euo pipefail
kvgen=$1 source=$2 work=$3
if ! /usr/bin/python3 -c 'import zeep, xmlsec' 2>/dev/null; then
  echo "no zeep or python3-xmlsec: skipped"; exit 77
fi
. "$source/tests/tools/example_server_build.sh"
build_example_programs "$kvgen" "$source" "$work" "$source/tests/peers/wsse_server.c"
. "$source/tests/peers/wire_relay.sh"
for name in peer stranger; do
  openssl req -x509 -newkey rsa:2048 -nodes -keyout $name.key -out $name.pem -days 30 -subj /CN=$name 2>/dev/null
done
rows() {
  local mode=$1 line
  ./wsse_server "$mode" >"server-$mode.log" &
  local pid=$!
  until [ -s "server-$mode.log" ]; do sleep 0.05; done
  line=$(head -n1 "server-$mode.log")
  start_wire_relay "${line##*:}" "$PWD/wire-$mode" >&2
  /usr/bin/python3 "$source/tests/peers/wsse_peers.py" "$mode" "http://127.0.0.1:$relay_port/calculator" "$PWD" || true
  kill -TERM "$pid" "$relay_pid"
  wait "$pid"
}
{ rows user; rows sign; } >rows.txt
cat rows.txt
diff -u - rows.txt <<ROWS
UsernameToken text: 5
UsernameToken text, Timestamp: 5
UsernameToken digest: 5
UsernameToken digest, Timestamp: 5
UsernameToken digest, zulu: 5
UsernameToken wrong password: fault wsse:FailedAuthentication
UsernameToken unknown user: fault wsse:FailedAuthentication
UsernameToken replayed nonce: 5
UsernameToken replayed nonce again: fault wsse:FailedAuthentication
Signature: 5
Signature SHA-256: 5
BinarySignature: 5
BinarySignature SHA-256, Timestamp: 5
Signature, Timestamp: 5
Signature by a stranger: 500 fault wsse:FailedAuthentication
no Signature: 500 fault wsse:InvalidSecurity
ROWS
wire_check "$PWD/wire-user" calculator.wsdl /calculator=11 --ours answers --least 9
wire_check "$PWD/wire-sign" calculator.wsdl /calculator=11 --ours answers --least 7
echo "zeep's UsernameToken and Signature rows all came out as they must, every answer valid"
