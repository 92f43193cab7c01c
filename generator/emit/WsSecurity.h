#ifndef KELVANE_GENERATOR_EMIT_WSSECURITY_H
#define KELVANE_GENERATOR_EMIT_WSSECURITY_H

class CEmitContext;
class CTextBuffer;

// WS-Security in the generated code: the client's settings and the calls
// that set them, the Security header of messages sent, the check of
// messages read. The support library (tessaro_wsse.h) does the work.

// <PROJ>_ERR_SECURITY and the constants the setters take.
void writeWsSecurityConstants(const CEmitContext& context, CTextBuffer& header);
// The member of <proj>_client_t that holds the client's settings.
void writeWsSecurityClientMember(const CEmitContext& context, CTextBuffer& header);
// <proj>_client_set_wsse_user, _timestamp, _signature and _trust.
void writeWsSecurityDeclarations(const CEmitContext& context, CTextBuffer& header);
// What the sender uses (before the sender frame), what the reader uses
// (before the packet reader) and what the client's calls use.
void writeWsSecuritySender(const CEmitContext& context, CTextBuffer& source);
void writeWsSecurityReader(const CEmitContext& context, CTextBuffer& source);
void writeWsSecurityClient(const CEmitContext& context, CTextBuffer& source);

#endif
