#ifndef KELVANE_GENERATOR_EMIT_CLIENTTRANSPORT_H
#define KELVANE_GENERATOR_EMIT_CLIENTTRANSPORT_H

class CEmitContext;
class CTextBuffer;

// The client's connection in the generated header: https, proxies and the
// connection kept open between calls. The results its failures give
// (<PROJ>_ERR_TLS ...), beside the calls' own.
void writeClientTransportErrors(const CEmitContext& context, CTextBuffer& header);
// The members of <proj>_client_t that hold the connection and its settings.
void writeClientTransportMembers(const CEmitContext& context, CTextBuffer& header);
// <proj>_client_close, <proj>_client_set_tls and <proj>_client_set_proxy.
void writeClientTransportDeclarations(const CEmitContext& context, CTextBuffer& header);

#endif
