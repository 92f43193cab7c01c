#ifndef KELVANE_GENERATOR_EMIT_SOURCEFILE_H
#define KELVANE_GENERATOR_EMIT_SOURCEFILE_H

class CEmitContext;
class CTextBuffer;

// "<proj>_api.c" into source: includes, declarations and the runtime,
// encoders and senders, the packet reader, the decoders, the packet
// decoder, a blank line, then the print functions.
void writeSourceFile(const CEmitContext& context, CTextBuffer& source);

#endif
