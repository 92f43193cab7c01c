#!/usr/bin/env bash
# zeep and node-soap call the example server (the generated server, runtime/example/calculator_server.c):
# each reads the service's description from its GET ?wsdl and calls Add and Greet, through a relay
# that records what crosses the wire; every answer of our server is then checked against the schemas.
#   server_peers.sh KVGEN SOURCE_DIR WORK_DIR NODE_MODULES
set -euo pipefail
kvgen=$1 source=$2 work=$3 node_modules=$4
# without the peers (scripts/setup installs them) the test is skipped
if [ ! -f "$node_modules/soap/package.json" ] || ! /usr/bin/python3 -c 'import zeep' 2>/dev/null; then
  echo "no node-soap in $node_modules, or no zeep: skipped"; exit 77
fi
. "$source/tests/tools/example_server_build.sh"
. "$source/tests/peers/wire_relay.sh"
build_example_programs "$kvgen" "$source" "$work"
./calculator_server 0 >server.log &
server_pid=$!
relay_pid=
trap 'kill "$server_pid" $relay_pid 2>/dev/null || true' EXIT
until [ -s server.log ]; do sleep 0.05; done
line=$(head -n1 server.log)
start_wire_relay "${line##*:}" "$PWD/wire"
endpoint="http://127.0.0.1:$relay_port/calculator"
/usr/bin/python3 - "$endpoint" >peers.txt <<'PYTHON'
import sys
import zeep
endpoint = sys.argv[1]
client = zeep.Client(endpoint + "?wsdl")
service = client.create_service("{urn:kelvane:calculator}CalculatorSoap", endpoint)
print("zeep Add", service.Add(a=2, b=3))
print("zeep Greet", service.Greet(name="zeep"))
PYTHON
node - "$node_modules" "$endpoint" >>peers.txt <<'NODE'
const soap = require(require("path").join(process.argv[2], "soap"));
const endpoint = process.argv[3];
(async () => {
  const client = await soap.createClientAsync(endpoint + "?wsdl", {endpoint});
  const [added] = await client.AddAsync({a: 2, b: 3});
  console.log("node Add", added.sum);
  const [greeted] = await client.GreetAsync({name: "node"});
  console.log("node Greet", greeted.greeting);
})().catch((error) => { console.log("node failed:", error.message); process.exit(1); });
NODE
cat peers.txt
kill -TERM "$server_pid"
wait "$server_pid"
[ "$(cat peers.txt)" = "zeep Add 5
zeep Greet Hello, zeep!
node Add 5
node Greet Hello, node!" ]
wire_check "$PWD/wire" "$source/runtime/example/calculator.wsdl" /calculator=11 --ours answers --least 4
echo "zeep and node-soap called the generated server and got every answer, each valid"
