#ifndef KELVANE_GENERATOR_EMIT_MESSAGESENDERS_H
#define KELVANE_GENERATOR_EMIT_MESSAGESENDERS_H

class CEmitContext;
class CTextBuffer;

// One sender "<proj>_<M>_send" per message of the bound operations (a
// message shared by several gets one): a request (POST to the transport's
// URL) for an input, a "200 OK" response for an output, with the SOAP
// envelope, the soap:header part, the rpc wrapper, the parts, the
// attachment, extra headers, Content-Length and SOAPAction. It returns the
// send's result, or -1 and sends nothing when the message does not fit.
void writeMessageSenders(const CEmitContext& context, CTextBuffer& source);

#endif
