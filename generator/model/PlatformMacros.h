#ifndef KELVANE_GENERATOR_MODEL_PLATFORMMACROS_H
#define KELVANE_GENERATOR_MODEL_PLATFORMMACROS_H

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>

// Words the C library, the socket headers, <windows.h> and libxml2 define
// as object-like macros that expand to something other than an identifier
// (a number, a keyword, nothing), and words gcc -std=gnu99 predefines
// (unix, linux): a struct member or type of that name would not compile
// on one of the platforms the generated code is built for.
bool isPlatformMacro(const std::string& word);

// The length of the longest of words: a longer word is none of them.
std::size_t longestWord(const std::unordered_set<std::string_view>& words);

#endif
