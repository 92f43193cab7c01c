#ifndef KELVANE_GENERATOR_EMIT_MTOM_H
#define KELVANE_GENERATOR_EMIT_MTOM_H

class CEmitContext;
class CTextBuffer;

// MTOM/XOP in the generated code: a client or server set to it sends its
// base64Binary values (all, or those of a size) as binary parts of a XOP
// package; every reader takes such a package whatever its setting.

// The packet's setting, the client's, and the service's.
void writeMtomPacketMember(CTextBuffer& header);
void writeMtomClientMember(const CEmitContext& context, CTextBuffer& header);
void writeMtomServiceMember(CTextBuffer& header);
// <proj>_client_set_mtom.
void writeMtomDeclarations(const CEmitContext& context, CTextBuffer& header);

#endif
