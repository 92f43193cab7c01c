#ifndef KELVANE_GENERATOR_MODEL_NAMEFORMS_H
#define KELVANE_GENERATOR_MODEL_NAMEFORMS_H

#include <string>
#include <string_view>

// <NAME>: the name with ASCII letters upper-cased, every other byte as it is.
std::string upperName(std::string_view name);
// The same, made in the name's own storage (a name just put together).
std::string upperName(std::string&& name);

// text as the inside of a C string literal: backslash, double quote and
// control bytes escaped (octal), every other byte as it is.
std::string cStringBody(std::string_view text);
// The same appended to out, for text built in room that stays.
void appendStringBody(std::string_view text, std::string& out);

// text as a C string literal: cStringBody in double quotes.
std::string cStringLiteral(std::string_view text);

// text as XML character data or attribute value: & < > " ' as references.
std::string xmlEscaped(std::string_view text);

#endif
