# Run-time folders copied beside a program, as a step of its own that is
# redone whenever one of the files it copies changes: a copy made only when
# the program relinks leaves stale headers, sources and rules beside it after
# an edit to them alone. The program depends on the step, so building it
# (or anything that depends on it) refreshes the copy.
#
#   kelvane_beside_dir(<target> <variable>)
#   kelvane_copy_beside(<target> DEPENDS <files...> COMMANDS COMMAND ... [COMMAND ...])
#
# The commands name the folder as kelvane_beside_dir gives it, never as
# $<TARGET_FILE_DIR:target>, which would make the step depend on the program
# that depends on it.
function(kelvane_beside_dir target out)
  get_target_property(_dir ${target} RUNTIME_OUTPUT_DIRECTORY)
  if(NOT _dir)
    set(_dir ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  set(${out} ${_dir} PARENT_SCOPE)
endfunction()

function(kelvane_copy_beside target)
  cmake_parse_arguments(PARSE_ARGV 1 _arg "" "" "DEPENDS;COMMANDS")
  set(_stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}_beside.stamp)
  add_custom_command(OUTPUT ${_stamp}
    ${_arg_COMMANDS}
    COMMAND ${CMAKE_COMMAND} -E touch ${_stamp}
    DEPENDS ${_arg_DEPENDS}
    COMMENT "Copying run-time folders beside ${target}"
    VERBATIM)
  add_custom_target(${target}_beside DEPENDS ${_stamp})
  add_dependencies(${target} ${target}_beside)
endfunction()
