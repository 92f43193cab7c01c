#ifndef KELVANE_GENERATOR_EMIT_PACKETDECODER_H
#define KELVANE_GENERATOR_EMIT_PACKETDECODER_H

#include <string>

class CEmitContext;
struct CStructMember;
class CTextBuffer;

// <proj>_proto_decoder and the exported <proj>_proto_readpacket of
// "<proj>_api.c": one HTTP message split into its header table, a SOAP
// envelope decoded into the packet (Header parts, the first known Body
// message or a fault) and the bytes after the envelope as the attachment.
// Every copy is bounded; hostile input gives -1.
void writePacketDecoder(const CEmitContext& context, CTextBuffer& source);

// The lines at indent that read a message struct's part member, reached at
// access ("value->..."), from the element at cur when that element carries
// the part's name: a structure through its decoder, a value through its
// conversion (doc, key, result and the label over in scope). A part that
// stands twice fails.
void writeMatchedPart(const CEmitContext& context, const CStructMember& member, const std::string& access,
                      const std::string& indent, CTextBuffer& out);

#endif
