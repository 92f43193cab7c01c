# One CTest test per binary: under Wine every process start costs time.
find_package(GTest REQUIRED)

# MOVES_POINTER: the tests drive the one mouse pointer every window under the display shares, so
# they run alone; another binary's windows under the pointer would take its input.
# TAKES_FOREGROUND: the tests show active windows and popups, which close or stop taking keys when
# their program loses the activation, so no two such binaries run at once.
function(kelvane_add_test_binary name)
  cmake_parse_arguments(ARG "MOVES_POINTER;TAKES_FOREGROUND" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    KELVANE_CORPUS_DIR="${KELVANE_CORPUS_DIR}"
    KELVANE_SOURCE_DIR="${KELVANE_SOURCE_DIR}")
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
  if(ARG_MOVES_POINTER)
    set_tests_properties(${name} PROPERTIES RUN_SERIAL TRUE)
  endif()
  if(ARG_TAKES_FOREGROUND)
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK foreground)
  endif()
endfunction()
