# One CTest test per binary (or per share of a long native one): under Wine every process start
# costs time.
find_package(GTest REQUIRED)

# MOVES_POINTER: the tests drive the one mouse pointer every window under the display shares, so
# they run alone; another binary's windows under the pointer would take its input.
# TAKES_FOREGROUND: the tests show active windows and popups, which close or stop taking keys when
# their program loses the activation, so no two such binaries run at once.
function(kelvane_add_test_binary name)
  cmake_parse_arguments(ARG "MOVES_POINTER;TAKES_FOREGROUND" "TIMEOUT;SHARDS" "SOURCES;LIBS;ALONE" ${ARGN})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    KELVANE_CORPUS_DIR="${KELVANE_CORPUS_DIR}"
    KELVANE_SOURCE_DIR="${KELVANE_SOURCE_DIR}")
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  # A long native binary runs as several CTest tests, each a share of its cases, so that they run
  # side by side and none nears its time limit on a busy machine. Under Wine every process start
  # costs time: there a binary stays one test. ALONE names suites that cost as much as a share on
  # their own: each runs as a test of its own, and the shares divide the rest, so that no share
  # gathers the heavy suites by the chance of their order.
  set(_tests ${name})
  if(ARG_SHARDS AND NOT CMAKE_CROSSCOMPILING)
    set(_tests)
    set(_rest)
    foreach(_suite ${ARG_ALONE})
      add_test(NAME ${name}_${_suite} COMMAND ${name} --gtest_filter=${_suite}.*)
      list(APPEND _tests ${name}_${_suite})
      list(APPEND _rest "${_suite}.*")
    endforeach()
    set(_filter)
    if(_rest)
      list(JOIN _rest ":" _rest)
      set(_filter --gtest_filter=-${_rest})
    endif()
    math(EXPR _last "${ARG_SHARDS} - 1")
    foreach(_index RANGE ${_last})
      add_test(NAME ${name}_${_index} COMMAND ${name} ${_filter})
      set_tests_properties(${name}_${_index} PROPERTIES
        ENVIRONMENT "GTEST_TOTAL_SHARDS=${ARG_SHARDS};GTEST_SHARD_INDEX=${_index}")
      list(APPEND _tests ${name}_${_index})
    endforeach()
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set_tests_properties(${_tests} PROPERTIES TIMEOUT ${ARG_TIMEOUT})
  if(ARG_MOVES_POINTER)
    set_tests_properties(${_tests} PROPERTIES RUN_SERIAL TRUE)
  endif()
  if(ARG_TAKES_FOREGROUND)
    set_tests_properties(${_tests} PROPERTIES RESOURCE_LOCK foreground)
  endif()
endfunction()
