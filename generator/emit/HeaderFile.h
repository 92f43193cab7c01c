#ifndef KELVANE_GENERATOR_EMIT_HEADERFILE_H
#define KELVANE_GENERATOR_EMIT_HEADERFILE_H

class CEmitContext;
class CTextBuffer;

// The whole of "<proj>_api.h": preamble, limits and tags, message ids,
// structs, prototypes of the exported functions, tail.
void writeHeaderFile(const CEmitContext& context, CTextBuffer& header);

// The sections that writeHeaderFile runs in order (constants and structs
// have their own files).
void writeHeaderPreamble(const CEmitContext& context, CTextBuffer& header);
void writeHeaderPrototypes(const CEmitContext& context, CTextBuffer& header);
void writeHeaderTail(CTextBuffer& header);

#endif
