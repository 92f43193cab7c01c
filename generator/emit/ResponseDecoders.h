#ifndef KELVANE_GENERATOR_EMIT_RESPONSEDECODERS_H
#define KELVANE_GENERATOR_EMIT_RESPONSEDECODERS_H

class CEmitContext;
class CTextBuffer;
struct CStructMember;

#include <string>

// The decoders of "<proj>_api.c": the conversion helpers they need, the
// SOAP fault's decoder and one decode_<T>_t per type with a struct, each
// filling its struct from a parsed element and giving -1 for a value that
// does not convert or does not fit.
void writeResponseDecoders(const CEmitContext& context, CTextBuffer& source);

// Lines at indent that turn key (a non-null xmlChar * in scope) into the
// number or text member at access, setting result to 0 or -1 (a text that
// does not fit, a number that does not convert or is out of range).
void writeKeyConversion(const CStructMember& member, const std::string& access, const std::string& indent,
                        CTextBuffer& out);

#endif
