#ifndef KELVANE_GENERATOR_EMIT_PACKETDECODER_H
#define KELVANE_GENERATOR_EMIT_PACKETDECODER_H

class CEmitContext;
class CTextBuffer;

// <proj>_proto_decoder and the exported <proj>_proto_readpacket of
// "<proj>_api.c": one HTTP message split into its header table, a SOAP
// envelope decoded into the packet (Header parts, the first known Body
// message or a fault) and the bytes after the envelope as the attachment.
// Every copy is bounded; hostile input gives -1.
void writePacketDecoder(const CEmitContext& context, CTextBuffer& source);

#endif
