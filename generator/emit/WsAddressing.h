#ifndef KELVANE_GENERATOR_EMIT_WSADDRESSING_H
#define KELVANE_GENERATOR_EMIT_WSADDRESSING_H

class CEmitContext;
class CTextBuffer;
struct CViewOperation;

#include <string>

// WS-Addressing in the generated code: the headers a packet carries, the
// client's and the service's setting, the headers of each call and the check
// of its answer, the server's check of a request and the headers of its
// answer. The work is the fragments' (wsa_*.c).

// <PROJ>_WSA_* and <proj>_wsa_t, before the packet that holds one.
void writeWsAddressingTypes(const CEmitContext& context, CTextBuffer& header);
// The packet's member.
void writeWsAddressingPacketMember(const CEmitContext& context, CTextBuffer& header);
// <PROJ>_ERR_ADDRESSING, beside the calls' other results.
void writeWsAddressingError(const CEmitContext& context, CTextBuffer& header);
// The setting of <proj>_client_t and of <proj>_service_t.
void writeWsAddressingClientMember(const CEmitContext& context, CTextBuffer& header);
void writeWsAddressingServiceMember(const CEmitContext& context, CTextBuffer& header);
// The sender's, the reader's and the client's are the fragments WsaSender,
// WsaReader and WsaClient.
// The statements of a call: the request's headers set (after its packet is
// filled) and the answer checked (before the request is freed).
void writeWsAddressingCallRequest(const CEmitContext& context, const CViewOperation& operation, CTextBuffer& out);
void writeWsAddressingCallAnswer(const CEmitContext& context, const CViewOperation& operation, bool answered,
                                 CTextBuffer& out);
// The server's: the fragment, then each served request kind's Actions.
void writeWsAddressingServer(const CEmitContext& context, CTextBuffer& source);

#endif
