#ifndef KELVANE_GENERATOR_MODEL_PLATFORMMACROS_H
#define KELVANE_GENERATOR_MODEL_PLATFORMMACROS_H

#include <string_view>

// Words the C library, the socket headers, <windows.h> and libxml2 define
// as object-like macros that expand to something other than an identifier
// (a number, a keyword, nothing), and words gcc -std=gnu99 predefines
// (unix, linux): a struct member or type of that name would not compile
// on one of the platforms the generated code is built for.
bool isPlatformMacro(std::string_view word);

#endif
