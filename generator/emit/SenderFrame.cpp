#include "generator/emit/SenderFrame.h"

#include "generator/model/EmitContext.h"
#include "generator/emit/TextBuffer.h"

namespace {

void lines(CTextBuffer& out, std::initializer_list<const char*> text)
{
    for (const char* line : text)
        out.line(line);
}

std::string sendSignature(const std::string& p, const std::string& name)
{
    return "static int " + p + "_" + name + "_send(" + p + "_proto_trans_t *trans, " + p +
        "_proto_packet_t *pk, int timeout)";
}

} // namespace

void writeSenderOpen(const CEmitContext& context, CTextBuffer& source, const CSenderStart& start, bool needsTemp)
{
    const std::string& p = context.proj();
    source.line(sendSignature(p, start.name));
    source.line("{");
    if (start.formatted)
        lines(source, {"\tchar\t\tstart[1024];", "\tint\t\tlength;"});
    if (needsTemp)
        source.line("\tchar\t\ttemp[64];");
    lines(source, {"\tchar\t\t*buffer;", "\tmycursor_t\tbody;", ""});
    if (start.formatted) {
        source.line("\tlength = snprintf(start, sizeof(start), ", start.line, ");");
        lines(source, {"\tif(length < 0 || length >= (int)sizeof(start))", "\t\treturn -1;"});
    }
    source.line("\tbuffer = ", p, "_send_begin(pk, &body);");
    lines(source, {"\tif(buffer == NULL)", "\t\treturn -1;", ""});
}

std::string sendEndCall(const CEmitContext& context, const CSenderStart& start, const std::string& soapAction)
{
    return "return " + context.proj() + "_send_end(trans, pk, buffer, " + (start.formatted ? "start" : start.line) +
        ", &body, " + soapAction + ", timeout);";
}
