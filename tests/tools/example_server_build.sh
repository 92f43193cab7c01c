# Sourced by the scripts that run the example server: generates the example project into
# $work/project with kvgen, builds its library, and compiles calculator_server.c (and each further
# program NAME given, from NAME.c beside it) against it. Leaves the shell in the project folder.
#   build_example_programs KVGEN SOURCE_DIR WORK_DIR [EXTRA_SOURCE...]
build_example_programs() {
  local kvgen=$1 source=$2 work=$3; shift 3
  local example="$source/runtime/example" project="$work/project" program extra
  rm -rf "$work"
  mkdir -p "$work"
  "$kvgen" --out "$project" calculator "$example/calculator.wsdl" >/dev/null
  make -C "$project" --no-print-directory >/dev/null
  cp "$example/calculator_server.c" "$example/calculator.wsdl" "$@" "$project/"
  cd "$project"
  for program in calculator_server "$@"; do
    extra=$(basename "$program" .c)
    gcc -I. -Ilib/include -I/usr/include/libxml2 "$extra.c" calculator_api.c -Llib/bin/redhat -ltessaro -lxml2 \
      -lssl -lcrypto -lpthread -o "$extra"
  done
}
