#ifndef KELVANE_GENERATOR_EMIT_PACKETREADER_H
#define KELVANE_GENERATOR_EMIT_PACKETREADER_H

class CEmitContext;
class CTextBuffer;

// read_packet of "<proj>_api.c" with its helpers: one HTTP message framed
// by Content-Length or by the chunked coding, de-chunked, into the caller's
// buffer; -1 for a message that cannot be framed or does not fit.
void writeSourcePacketReader(const CEmitContext& context, CTextBuffer& source);

#endif
