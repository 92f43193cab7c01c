#ifndef KELVANE_GENERATOR_EMIT_FIXEDSENDERS_H
#define KELVANE_GENERATOR_EMIT_FIXEDSENDERS_H

class CEmitContext;
class CTextBuffer;

// The sender helpers, then "<proj>_http_resp_send" (pk->msg.http_msg as a
// plain HTTP message) and "<proj>_soap_fault_send" (pk->msg.soap_fault as a
// SOAP fault with status 200, its texts XML-escaped). Written before the
// type encoders.
void writeFixedSenders(const CEmitContext& context, CTextBuffer& source);

// "send_packet", which calls the sender of the packet's message type (one
// case per message kind; 0 and nothing sent for a type without a case),
// and the exported "<proj>_proto_sendpacket". Written after the message
// senders.
void writePacketDispatch(const CEmitContext& context, CTextBuffer& source);

#endif
