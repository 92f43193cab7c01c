# Writes the text of the file IN into OUT as one C++ raw string literal, for
# an #include where an expression stands: text kept in the repository as a
# file of its own becomes a constant of the program at build time.
file(READ "${IN}" text)
set(delimiter "kvembed")
string(FIND "${text}" ")${delimiter}\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "${IN} holds the literal's closing delimiter")
endif()
file(WRITE "${OUT}" "R\"${delimiter}(${text})${delimiter}\"\n")
