# Sourced by the peer scripts: start_wire_relay PORT RECORD_DIR puts wire_check.py's relay in front
# of the server on PORT, recording every connection into RECORD_DIR, and sets relay_port and
# relay_pid; wire_check CHECK_ARGS... checks the record (wire_check.py check) and prints its lines.
wire_check_script="$(dirname "${BASH_SOURCE[0]}")/wire_check.py"

start_wire_relay() {
  /usr/bin/python3 "$wire_check_script" relay "$1" "$2" >"$2.log" &
  relay_pid=$!
  until [ -s "$2.log" ]; do
    kill -0 "$relay_pid" 2>/dev/null || { echo "the wire relay did not start"; return 1; }
    sleep 0.05
  done
  relay_port=$(cut -d' ' -f2 "$2.log")
}

wire_check() {
  /usr/bin/python3 "$wire_check_script" check "$@"
}
