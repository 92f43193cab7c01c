#ifndef KELVANE_GENERATOR_EMIT_RESPONSEDECODERS_H
#define KELVANE_GENERATOR_EMIT_RESPONSEDECODERS_H

class CEmitContext;
class CTextBuffer;

// The decoders of "<proj>_api.c": the conversion helpers they need, the
// SOAP fault's decoder and one decode_<T>_t per type with a struct, each
// filling its struct from a parsed element and giving -1 for a value that
// does not convert or does not fit.
void writeResponseDecoders(const CEmitContext& context, CTextBuffer& source);

#endif
