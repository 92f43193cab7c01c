#!/usr/bin/env bash
# The demo as a mock service: kvgen writes the calculator's project, make builds it, and
# "calc_demo --serve 0" serves on a free port until it is stopped. A request of Add posted to it
# gets an AddResponse with status 200, an unknown message a fault; SIGINT ends it with status 0.
#   demo_serve_run.sh KVGEN WSDL WORK_DIR
set -euo pipefail
kvgen=$1 wsdl=$2 work=$3
project="$work/project"
rm -rf "$work"
mkdir -p "$work"
"$kvgen" --out "$project" calc "$wsdl" >"$work/kvgen.txt"
(cd "$project" && make --no-print-directory >"$work/make.txt" 2>&1) || { cat "$work/make.txt"; exit 1; }
(cd "$project" && exec ./calc_demo --serve 0 >"$work/serve.txt" 2>&1) &
demo=$!
trap 'kill -9 $demo 2>/dev/null || true' EXIT
# The port it names once it listens; the loop ends when the line is there or the demo has ended.
port=
for _ in $(seq 600); do
  port=$(sed -n 's/^demo: the server thread listens on 127\.0\.0\.1:\([0-9]*\)$/\1/p' "$work/serve.txt")
  [ -n "$port" ] && grep -q '^demo: serving every operation' "$work/serve.txt" && break
  kill -0 $demo 2>/dev/null || { cat "$work/serve.txt"; echo "the demo ended before it served"; exit 1; }
  sleep 0.1
done
[ -n "$port" ] || { cat "$work/serve.txt"; echo "the demo never said its port"; exit 1; }
post() { # SOAP action, body; prints the status and the answer
  curl -s -o "$work/answer.xml" -w '%{http_code}' -H 'Content-Type: text/xml; charset=utf-8' \
    -H "SOAPAction: \"$1\"" --data-binary "<?xml version=\"1.0\"?><soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" xmlns:c=\"urn:kelvane:calculator\"><soap:Body>$2</soap:Body></soap:Envelope>" \
    "http://127.0.0.1:$port/calculator"
}
status=$(post 'urn:kelvane:calculator#Add' '<c:Add><c:a>2</c:a><c:b>3</c:b></c:Add>')
if [ "$status" != 200 ] || ! grep -q 'AddResponse' "$work/answer.xml" || ! grep -q 'sum>' "$work/answer.xml"; then
  echo "Add got status $status and:"; cat "$work/answer.xml"; exit 1
fi
status=$(post 'urn:nothing' '<c:Nothing/>')
if ! grep -q 'Fault' "$work/answer.xml"; then
  echo "an unknown message got status $status and:"; cat "$work/answer.xml"; exit 1
fi
kill -INT $demo
code=0
wait $demo || code=$?
trap - EXIT
if [ "$code" -ne 0 ]; then
  cat "$work/serve.txt"; echo "the demo ended with $code after SIGINT"; exit 1
fi
echo "the demo served Add and refused an unknown message, and ended on SIGINT"
