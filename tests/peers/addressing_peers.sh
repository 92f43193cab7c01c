#!/usr/bin/env bash
# WS-Addressing with the peers, on wsdl/addressing.wsdl in SOAP 1.1 and 1.2: zeep calls the generated
# server with the headers its own reading of the WSDL's Actions adds, and with its WsAddressingPlugin
# (on the WSDL without them, its Actions taken from soapAction); our client calls a node-soap server
# that checks the headers on the wire and answers with Action and RelatesTo, which the client checks.
# Both go through relays that record the wire: every request of our client and every answer of our
# server is checked against the schemas, their WS-Addressing headers with them.
# With --windows only the client goes, built with mingw-w64 and run under Wine (windows-client).
# Each outcome is held against the rows of expected.tsv labelled addressing and addressing12.
#   addressing_peers.sh KVGEN SOURCE_DIR WORK_DIR NODE_MODULES [--windows WINE_RUN MINGW_GCC TESSARO XML2 XML2_INCLUDE]
set -euo pipefail
kvgen=$1 source=$2 work=$3 node_modules=$4
windows=
if [ "${5:-}" = --windows ]; then
  windows=1 wine_run=$6 mingw_gcc=$7 win_tessaro=$8 win_xml2=$9 win_xml2_include=${10}
fi
peers="$source/tests/peers"
if [ ! -f "$node_modules/soap/package.json" ] || { [ -z "$windows" ] && ! /usr/bin/python3 -c 'import zeep' 2>/dev/null; }; then
  echo "no node-soap in $node_modules, or no zeep: skipped"; exit 77
fi
rm -rf "$work"
mkdir -p "$work"
if [ -n "$windows" ]; then
  "$wine_run" "$kvgen" --target windows --out "$work/project" addr "$peers/wsdl/addressing.wsdl" >/dev/null
else
  "$kvgen" --out "$work/project" addr "$peers/wsdl/addressing.wsdl" >/dev/null
  make -C "$work/project" --no-print-directory >/dev/null
fi
cp "$peers/addressing_server.c" "$peers/addressing_client.c" "$peers/wsdl/addressing.wsdl" "$work/project/"
cd "$work/project"
if [ -n "$windows" ]; then
  "$mingw_gcc" -std=gnu99 -Wall -I. -I"$source/runtime/lib/include" -I"$win_xml2_include" -DLIBXML_STATIC addressing_client.c \
    addr_api.c "$win_tessaro" "$win_xml2" -lws2_32 -lsecur32 -lcrypt32 -lbcrypt -static -o addressing_client.exe
else
  for program in addressing_server addressing_client; do
    gcc -Wall -I. -Ilib/include -I/usr/include/libxml2 "$program.c" addr_api.c -Llib/bin/redhat -ltessaro -lxml2 \
      -lssl -lcrypto -lpthread -o "$program"
  done
fi
sed -e 's/ wsa[mw]:Action="[^"]*"//' addressing.wsdl >plain.wsdl

. "$peers/wire_relay.sh"
node "$peers/addressing_node_server.js" "$node_modules" addressing.wsdl >node.log 2>&1 &
node_pid=$!
server_pid= relays=
trap 'kill $server_pid "$node_pid" $relays 2>/dev/null || true' EXIT
if [ -z "$windows" ]; then
  ./addressing_server >server.log &
  server_pid=$!
  until [ -s server.log ]; do sleep 0.05; done
  start_wire_relay "$(head -n1 server.log | cut -d' ' -f2)" "$PWD/wire-server"
  server_port=$relay_port relays=$relay_pid
fi
until [ -s node.log ]; do sleep 0.05; done
start_wire_relay "$(head -n1 node.log | cut -d' ' -f2)" "$PWD/wire-client"
node_port=$relay_port relays="$relays $relay_pid"
: >outcomes.txt

if [ -z "$windows" ]; then
/usr/bin/python3 - "http://127.0.0.1:$server_port" plain.wsdl >outcomes.txt <<'PYTHON'
import sys
import zeep
from zeep.wsa import WsAddressingPlugin
base, plain = sys.argv[1], sys.argv[2]
answers = {"Add": ({"a": 2, "b": 3}, 5), "Greet": ({"name": "zeep"}, "Hello, zeep!")}
for wsdl, plugins, direction in ((base + "/addressed?wsdl", [], "server"), (plain, [WsAddressingPlugin()], "server-plugin")):
    client = zeep.Client(wsdl, plugins=plugins)
    for binding, path, label in (("CalculatorSoap", "/addressed", "addressing"), ("CalculatorSoap12", "/addressed12", "addressing12")):
        service = client.create_service("{http://example.org/addressed}" + binding, base + path)
        for operation, (arguments, expected) in answers.items():
            try:
                got = getattr(service, operation)(**arguments)
                print(label, operation, direction, "pass" if got == expected else "fail: %r" % (got,))
            except Exception as error:
                print(label, operation, direction, "fail:", str(error)[:200])
PYTHON
  ./addressing_client "http://127.0.0.1:$node_port/addressed" "http://127.0.0.1:$node_port/addressed12" >client.txt || true
  direction=client
else
  "$wine_run" ./addressing_client.exe "http://127.0.0.1:$node_port/addressed" "http://127.0.0.1:$node_port/addressed12" >client.txt || true
  direction=windows-client
  echo "port -" >server.log
fi
while read -r version operation rest; do
  label=addressing${version#client}
  case "$rest" in
    "5" | "Hello, node!") echo "$label $operation $direction pass" ;;
    *) echo "$label $operation $direction fail: $rest" ;;
  esac
done < <(tr -d '\r' <client.txt) >>outcomes.txt
cat outcomes.txt server.log node.log
# every request the server served carried a uuid MessageID and its Action; node saw every header right;
# what our side sent is valid
failed=0
wire_check "$PWD/wire-client" addressing.wsdl /addressed=11 /addressed12=12 --ours requests --least 4 || failed=1
if [ -z "$windows" ]; then
  wire_check "$PWD/wire-server" addressing.wsdl /addressed=11 /addressed12=12 --ours answers --least 8 || failed=1
fi
! grep -v '^port\|^served http://example.org/addressed/[A-Za-z]* uuid /addressed' server.log || failed=1
! grep '^node saw' node.log | grep -v 'with its addressing headers' || failed=1
while IFS=$'\t' read -r label operation direction state; do
  case "$label" in addressing|addressing12) ;; *) continue ;; esac
  [ "$state" = pass ] || continue
  [ -n "$windows" ] && [ "$direction" != windows-client ] && continue
  [ -z "$windows" ] && [ "$direction" = windows-client ] && continue
  grep -qx "$label $operation $direction pass" outcomes.txt || { echo "REGRESSION: $label $operation $direction"; failed=1; }
done <"$peers/expected.tsv"
[ "$failed" = 0 ]
echo "zeep called the generated server and our client called node-soap, with WS-Addressing, as expected.tsv says"
