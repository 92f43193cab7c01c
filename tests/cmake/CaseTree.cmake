# Writes a small tree of files for a case under ROOT, emptied first, from `path|content` lines
# (`<nl>` breaks a line of content).
function(kelvane_write_case_tree root files)
  file(REMOVE_RECURSE "${root}")
  string(REPLACE "\n" ";" files "${files}")
  foreach(entry IN LISTS files)
    string(FIND "${entry}" "|" bar)
    string(SUBSTRING "${entry}" 0 ${bar} path)
    math(EXPR start "${bar} + 1")
    string(SUBSTRING "${entry}" ${start} -1 content)
    string(REPLACE "<nl>" "\n" content "${content}")
    file(WRITE "${root}/${path}" "${content}\n")
  endforeach()
endfunction()

# Inside a case's function: counts a failure of the case NAME in the caller's `failures` when
# ACTUAL is not EXPECTED.
macro(kelvane_expect_case name actual expected)
  if(NOT "${actual}" STREQUAL "${expected}")
    message(SEND_ERROR "${name}: expected [${expected}] got [${actual}]")
    math(EXPR failures "${failures} + 1")
    set(failures ${failures} PARENT_SCOPE)
  endif()
endmacro()
