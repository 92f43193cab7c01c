#ifndef KELVANE_GENERATOR_EMIT_HEADERSTRUCTS_H
#define KELVANE_GENERATOR_EMIT_HEADERSTRUCTS_H

class CEmitContext;
class CTextBuffer;

// The header's data types: a struct per user type and global element, one
// per message of the bound operations, and the fixed fault, HTTP header,
// HTTP message, packet and transport structs.
void writeHeaderStructs(const CEmitContext& context, CTextBuffer& header);

#endif
