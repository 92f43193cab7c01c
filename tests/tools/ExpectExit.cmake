# Runs PROGRAM with ARGS (a ;-list) in WORKDIR and checks its exit status
# against STATUS and its output (both streams) against MATCH.
# Each run starts in an empty folder: what an earlier run wrote plays no part.
file(REMOVE_RECURSE "${WORKDIR}")
file(MAKE_DIRECTORY "${WORKDIR}")
execute_process(COMMAND "${PROGRAM}" ${ARGS} WORKING_DIRECTORY "${WORKDIR}"
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 120)
if(NOT status STREQUAL "${STATUS}")
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}\n${out}${err}")
endif()
if(NOT "${out}${err}" MATCHES "${MATCH}")
  message(FATAL_ERROR "output does not match '${MATCH}':\n${out}${err}")
endif()
