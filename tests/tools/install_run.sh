#!/usr/bin/env bash
# A project's install rules, used as a user does: kvgen writes the example calculator, make install
# stages it into a scratch prefix (DESTDIR) and cmake --install into another; then, with the project
# folder out of reach, the example's server and add.c are built against each installed tree, by
# pkg-config from the make one and by find_package from the CMake one, and Add adds.
#   install_run.sh KVGEN SOURCE_DIR WORK_DIR
set -euo pipefail
kvgen=$1 source=$2 work=$3
example="$source/runtime/example"
rm -rf "$work"
mkdir -p "$work/use"
"$kvgen" -q --out "$work/project" calculator "$example/calculator.wsdl"
make -C "$work/project" --no-print-directory install PREFIX=/opt/calc DESTDIR="$work/staged" >/dev/null
cmake -S "$work/project" -B "$work/project/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/project/build" --target calculator_api >/dev/null
cmake --install "$work/project/build" --prefix "$work/cmake-prefix" >/dev/null
mv "$work/project" "$work/project-gone"

# What each installed, by the same names.
expected="include/calculator_api.h
$(cd "$source/runtime/lib/include" && ls | sed 's|^|include/tessaro/|')
lib/libcalculator_api.a
lib/libtessaro.a
lib/pkgconfig/calculator_api.pc
lib/pkgconfig/tessaro.pc"
listing() { (cd "$1" && find . -type f | sed 's|^\./||' | grep -v '^lib/cmake/' | sort); }
diff -u <(sort <<<"$expected") <(listing "$work/staged/opt/calc")
diff -u <(sort <<<"$expected") <(listing "$work/cmake-prefix")
[ -f "$work/cmake-prefix/lib/cmake/calculator_api/calculator_apiConfig.cmake" ]
[ -f "$work/cmake-prefix/lib/cmake/tessaro/tessaroConfig.cmake" ]

cp "$example/add.c" "$example/calculator_server.c" "$work/use/"
cd "$work/use"
# pkg-config, from the staged tree in place: its files find their prefix from where they lie.
export PKG_CONFIG_PATH="$work/staged/opt/calc/lib/pkgconfig"
for program in add calculator_server; do
  # shellcheck disable=SC2046
  gcc -Wall "$program.c" $(pkg-config --cflags --libs calculator_api) -o "$program"
done
# find_package, from the CMake tree.
cat >CMakeLists.txt <<'CMAKE'
cmake_minimum_required(VERSION 3.13)
project(use_calculator C)
find_package(calculator_api REQUIRED)
add_executable(add_by_cmake add.c)
target_link_libraries(add_by_cmake PRIVATE calculator_api::calculator_api)
CMAKE
cmake -S . -B build -DCMAKE_PREFIX_PATH="$work/cmake-prefix" >/dev/null
cmake --build build >/dev/null

coproc SERVER { exec ./calculator_server 0 2; }
exec 3<&"${SERVER[0]}"
server_pid=$SERVER_PID
read -r listening <&3
endpoint="http://${listening##* }/calculator"
./add "$endpoint" | tee add.txt
build/add_by_cmake "$endpoint" | tee add_by_cmake.txt
cat <&3 >/dev/null
wait "$server_pid"
[ "$(cat add.txt)" = "2 + 3 = 5" ]
[ "$(cat add_by_cmake.txt)" = "2 + 3 = 5" ]
echo "programs built against the installed files by pkg-config and by find_package call the service"
