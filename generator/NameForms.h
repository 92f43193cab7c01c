#ifndef KELVANE_GENERATOR_NAMEFORMS_H
#define KELVANE_GENERATOR_NAMEFORMS_H

#include <string>

// <NAME>: the name with ASCII letters upper-cased, every other byte as it is.
std::string upperName(const std::string& name);

// The C type of a member of a built-in number type (ids 3 to 15), as the
// type mapping gives it; "int" for any other id.
const char* cTypeOfBuiltin(int typeId);

#endif
