#include "generator/emit/Mtom.h"

#include "generator/emit/TextBuffer.h"
#include "generator/model/EmitContext.h"

void writeMtomPacketMember(CTextBuffer& header)
{
    header.line("\t//MTOM: non-zero sends the message as a XOP package, each base64Binary value of at least this many");
    header.line("\t//bytes as a binary part of its own (1: every one); a call takes the client's, an answer the service's");
    header.line("\tlong\tmtom;");
}

void writeMtomClientMember(const CEmitContext& context, CTextBuffer& header)
{
    header.line("\tlong mtom;//", context.proj(), "_client_set_mtom: requests go as XOP packages (0: they do not)");
}

void writeMtomServiceMember(CTextBuffer& header)
{
    header.line("//MTOM: non-zero sends every answer as a XOP package, its base64Binary values of at least this many");
    header.line("//bytes as binary parts (1: every one); 0 sends them as text. Requests are read either way");
    header.line("long mtom;");
}

void writeMtomDeclarations(const CEmitContext& context, CTextBuffer& header)
{
    const std::string& p = context.proj();
    header.line("//MTOM: each request goes as a XOP package, its base64Binary values of at least least_bytes bytes as");
    header.line("//binary parts (1: every one); 0 turns it off. Answers are read as XOP packages or not, as they come");
    header.line("_declspec(dllexport) int WINAPI ", p, "_client_set_mtom(", p, "_client_t *client, long least_bytes);");
}
