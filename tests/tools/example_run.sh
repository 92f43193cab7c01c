#!/usr/bin/env bash
# The example as docs/kvgen.md shows it: kvgen writes the calculator project into an empty folder, make
# builds it as generated, and the guide's add.c (which must equal runtime/example/add.c), greet.c
# and the example's own server are built with the guide's command line; the clients call the
# server's Add and Greet, which really add and greet, and, with no server left, Add says why.
#   example_run.sh KVGEN SOURCE_DIR WORK_DIR
set -euo pipefail
kvgen=$1 source=$2 work=$3
example="$source/runtime/example"
project="$work/project"
rm -rf "$work"
mkdir -p "$work"
# The guide's example, from its first C block.
awk '/^```c$/ {inside = 1; next} /^```$/ && inside {exit} inside' "$source/docs/kvgen.md" >"$work/readme_add.c"
if ! diff -u "$example/add.c" "$work/readme_add.c"; then
  echo "the guide's example differs from runtime/example/add.c (above)"
  exit 1
fi
"$kvgen" --out "$project" calculator "$example/calculator.wsdl" >/dev/null
make -C "$project" --no-print-directory >/dev/null
cp "$work/readme_add.c" "$project/add.c"
cp "$example/greet.c" "$example/calculator_server.c" "$project/"
cd "$project"
for program in add greet calculator_server; do
  gcc -I. -Ilib/include -I/usr/include/libxml2 "$program.c" calculator_api.c -Llib/bin/redhat -ltessaro -lxml2 -lssl -lcrypto -lpthread \
    -o "$program"
done
coproc SERVER { exec ./calculator_server 0 2; }
# bash closes a coprocess's descriptors once it ends: the output is read through a copy
exec 3<&"${SERVER[0]}"
server_pid=$SERVER_PID
read -r listening <&3
echo "$listening"
endpoint="http://${listening##* }/calculator"
./add "$endpoint" | tee add.txt
./greet "$endpoint" | tee greet.txt
server_output=$(cat <&3)
wait "$server_pid"
echo "$server_output"
[ "$(cat add.txt)" = "2 + 3 = 5" ]
[ "$(cat greet.txt)" = "Hello, newcomer!" ]
[ "$server_output" = "calculator_server: Add 2 + 3: answers 5
calculator_server: Greet newcomer: answers Hello, newcomer!" ]
# The server is gone: its port refuses; a name that is not found says so.
status=0
./add "$endpoint" >refused.txt || status=$?
[ $status -eq 1 ] && grep -q '^Add: no connection to the endpoint (connection refused' refused.txt
./add http://no-such-host.invalid/calculator >unknown.txt || true
grep -qx "Add: the endpoint's host name was not found" unknown.txt
cat refused.txt unknown.txt
echo "the guide's example, greet.c and the example server work as shown"
