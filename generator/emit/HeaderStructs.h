#ifndef KELVANE_GENERATOR_EMIT_HEADERSTRUCTS_H
#define KELVANE_GENERATOR_EMIT_HEADERSTRUCTS_H

#include <string>
#include <vector>

class CEmitContext;
class CStructLayout;
class CTextBuffer;
struct CStructMember;

// The header's data types: a struct per user type and global element, one
// per message of the bound operations, and the fixed fault, HTTP header,
// HTTP message, packet and transport structs.
void writeHeaderStructs(const CEmitContext& context, CTextBuffer& header);

// The declaration lines of one member, without their line ends.
std::vector<std::string> memberDeclaration(const CStructLayout& layout, const CStructMember& member);

#endif
