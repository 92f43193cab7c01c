#ifndef KELVANE_GENERATOR_EMIT_VALUEDECODING_H
#define KELVANE_GENERATOR_EMIT_VALUEDECODING_H

#include "generator/model/BuiltinTypes.h"

#include <set>
#include <string>

class CTextBuffer;
struct CStructMember;

// The static mydecode_ helpers that turn a value's text into its member:
// the text copy always, each number helper only when some decoder calls
// it, so that the file stays free of unused static functions.
void writeDecodeHelpers(const std::set<CDecodeConversion>& used, CTextBuffer& out);

// Lines at indent that turn key (a non-null xmlChar * in scope) into the
// number or text member at access, setting result to 0 or -1 (a text that
// does not fit, a number that does not convert or is out of range).
void writeKeyConversion(const CStructMember& member, const std::string& access, const std::string& indent,
                        CTextBuffer& out);

// An element without text holds no value of the member: a number is never
// empty (text can be).
bool emptyTextFails(const CStructMember& member);

#endif
