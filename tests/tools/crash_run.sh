#!/usr/bin/env bash
# A Windows program that crashes under the Wine runner ends at once with a failure that names the
# fault, instead of waiting for a crash dialog that no one closes.
#   crash_run.sh WINE_RUN PROGRAM
set -uo pipefail
status=0
output=$(timeout 100 "$1" "$2" 2>&1) || status=$?
if [ "$status" -eq 0 ] || [ "$status" -eq 124 ]; then
  echo "$output"
  echo "the crashing program ended with status $status (124: still running after 100 s)"
  exit 1
fi
if ! grep -q "page fault on read access to 0x0*0 " <<<"$output"; then
  echo "$output"
  echo "the crash was not named"
  exit 1
fi
echo "the crashing program ended with status $status, its fault named"
