#ifndef KELVANE_GENERATOR_MODEL_NAMEFORMS_H
#define KELVANE_GENERATOR_MODEL_NAMEFORMS_H

#include <string>

// <NAME>: the name with ASCII letters upper-cased, every other byte as it is.
std::string upperName(const std::string& name);

// The C type of a member of a built-in number type (ids 3 to 15), as the
// type mapping gives it; "int" for any other id.
const char* cTypeOfBuiltin(int typeId);

// The printf conversion that writes a number of that built-in type back
// exactly as its C type holds it.
const char* numberFormat(int typeId);

// text as the inside of a C string literal: backslash, double quote and
// control bytes escaped (octal), every other byte as it is.
std::string cStringBody(const std::string& text);

// text as XML character data or attribute value: & < > " ' as references.
std::string xmlEscaped(const std::string& text);

#endif
