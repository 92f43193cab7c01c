#include "generator/emit/SenderFrame.h"

#include "generator/model/EmitContext.h"
#include "generator/emit/TextBuffer.h"

namespace {

void lines(CTextBuffer& out, std::initializer_list<const char*> text)
{
    for (const char* line : text)
        out.line(line);
}


} // namespace

void writeSenderOpen(const CEmitContext& context, CTextBuffer& source, const CSenderStart& start)
{
    const std::string& p = context.proj();
    source.line("static int ", p, "_", start.name, "_send(", p, "_proto_trans_t *trans, ", p,
                "_proto_packet_t *pk, int timeout)");
    source.line("{");
    if (start.formatted)
        lines(source, {"\tchar\t\tstart[1024];", "\tint\t\tlength;"});
    lines(source, {"\tchar\t\t*buffer;", "\tmycursor_t\tbody;", ""});
    if (start.formatted) {
        source.line("\tlength = snprintf(start, sizeof(start), ", start.line, ");");
        lines(source, {"\tif(length < 0 || length >= (int)sizeof(start))", "\t\treturn -1;"});
    }
    source.line("\tbuffer = ", p, "_send_begin(pk, &body);");
    lines(source, {"\tif(buffer == NULL)", "\t\treturn -1;", ""});
}

void writeSendEnd(const CEmitContext& context, CTextBuffer& body, const CSenderStart& start,
                  const std::string& soapAction)
{
    const std::string_view line = start.formatted ? std::string_view("start") : start.line;
    body.line("return ", context.proj(), "_send_end(trans, pk, buffer, ", line, ", &body, ", soapAction, ", timeout);");
}
