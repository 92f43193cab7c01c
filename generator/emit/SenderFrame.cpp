#include "generator/emit/SenderFrame.h"

#include "generator/model/EmitContext.h"
#include "generator/emit/TextBuffer.h"

namespace {

// The room for the head in front of the body, and the body's size.
const char* const HeadRoom = "1024";
const char* const BodySize = "200000";

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

// Unterminated fields of a packet are taken up to their size, never beyond.
void writeRawAppend(CTextBuffer& out)
{
    lines(out, {"//appends text up to its end or size bytes, whichever comes first, as it is",
                "static int myrawcat(mycursor_t *out, const char *text, size_t size)",
                "{",
                "\tchar\tpiece[256];",
                "\tsize_t\ti, n;",
                "\tint\tresult = 0;",
                "",
                "\tfor(i = 0; i < size && text[i] != '\\0' && result == 0; i += n){",
                "\t\tfor(n = 0; n + 1 < sizeof(piece) && i + n < size && text[i + n] != '\\0'; n++)",
                "\t\t\tpiece[n] = text[i + n];",
                "\t\tpiece[n] = '\\0';",
                "\t\tresult = mystrcat(out, piece);",
                "\t}",
                "\treturn result;",
                "}",
                ""});
}

void writeBegin(const std::string& p, CTextBuffer& out)
{
    out.line("//the buffer of one message; the body starts behind the room for the head");
    out.line("static char *" + p + "_send_begin(" + p + "_proto_packet_t *pk, mycursor_t *body)");
    out.line("{");
    out.line(std::string("\tchar\t*buffer = (char *)malloc(") + HeadRoom + " + " + BodySize + ");");
    lines(out, {"", "\tif(buffer == NULL)", "\t\treturn NULL;"});
    out.line(std::string("\tmycursor_init(body, buffer + ") + HeadRoom + ", " + BodySize + ");");
    lines(out, {"\t//boundary_part between http header and soap message if there is",
                "\tmyrawcat(body, pk->boundary_part, sizeof(pk->boundary_part));", "\treturn buffer;", "}", ""});
}

void writeAttachment(CTextBuffer& out)
{
    lines(out, {"\t//the attachment follows the envelope; it is released once it is in the message",
                "\tif(pk->attachment != NULL && mystrcat(body, \"\\r\\n\") == 0){",
                "\t\tif(pk->attachment_length >= 0 && (size_t)pk->attachment_length <= (size_t)(body->end - body->tail)){",
                "\t\t\tmemcpy(body->tail, pk->attachment, (size_t)pk->attachment_length);",
                "\t\t\tbody->tail += pk->attachment_length;",
                "\t\t\t*body->tail = '\\0';",
                "\t\t\tfree(pk->attachment);",
                "\t\t\tpk->attachment = NULL;",
                "\t\t\tpk->attachment_length = 0;",
                "\t\t}else{",
                "\t\t\tbody->tail = NULL;",
                "\t\t}",
                "\t}"});
}

void writeHead(const CEmitContext& context, CTextBuffer& out)
{
    const std::string& P = context.projUpper();
    lines(out, {"\tmycursor_init(&out, head, sizeof(head));", "\tmystrcat(&out, start);", "\tif(body->tail != NULL){"});
    out.line(std::string("\t\tlength = (size_t)(body->tail - (buffer + ") + HeadRoom + "));");
    out.line("\t\tsnprintf(len, sizeof(len), \"%lu\", (unsigned long)length);");
    out.line("\t\tfor(i = 0; i < pk->http_headers_count && i < " + P + "_MAX_HTTP_HEADER_NUM; i++){");
    lines(out, {"\t\t\tif(strncasecmp(pk->http_headers[i].name, \"Content-Length\", sizeof(pk->http_headers[i].name)) == 0)",
                "\t\t\t\tcontinue;",
                "\t\t\tmyrawcat(&out, pk->http_headers[i].name, sizeof(pk->http_headers[i].name));",
                "\t\t\tmystrcat(&out, \": \");",
                "\t\t\tmyrawcat(&out, pk->http_headers[i].value, sizeof(pk->http_headers[i].value));",
                "\t\t\tmystrcat(&out, \"\\r\\n\");",
                "\t\t}",
                "\t\tmystrcat(&out, \"Content-Length:\");",
                "\t\tmystrcat(&out, len);",
                "\t\tif(soap_action != NULL){",
                "\t\t\tmystrcat(&out, \"\\r\\nSOAPAction:\\\"\");",
                "\t\t\tmystrcat(&out, soap_action);",
                "\t\t\tmystrcat(&out, \"\\\"\");",
                "\t\t}"});
    out.line("\t\tmystrcat(&out, " + P + "_HTTPENDFLAG);");
    out.line("\t}");
}

void writeEnd(const CEmitContext& context, CTextBuffer& out)
{
    const std::string& p = context.proj();
    out.line("//adds the attachment and the head and sends the message; -1 and nothing sent when a part did not fit");
    out.line("static int " + p + "_send_end(" + p + "_proto_trans_t *trans, " + p +
             "_proto_packet_t *pk, char *buffer, const char *start, mycursor_t *body, const char *soap_action, int timeout)");
    out.line("{");
    out.line(std::string("\tchar\t\thead[") + HeadRoom + "];");
    lines(out, {"\tchar\t\tlen[32];", "\tchar\t\t*message;", "\tmycursor_t\tout;", "\tsize_t\t\tlength = 0;",
                "\tsize_t\t\thead_length;", "\ttessaro_size_t\tsize;", "\tint\t\ti;", "\tint\t\tresult = -1;", ""});
    writeAttachment(out);
    writeHead(context, out);
    lines(out, {"\tif(body->tail != NULL && out.tail != NULL){", "\t\thead_length = (size_t)(out.tail - head);"});
    out.line(std::string("\t\tmessage = buffer + ") + HeadRoom + " - head_length;");
    lines(out, {"\t\tmemcpy(message, head, head_length);",
                "\t\tresult = tessaro_socket_send_all(trans->socket, (const void*)message, head_length + length, &size, "
                "(tessaro_usec_t)timeout*TESSARO_USEC_PER_SEC);",
                "\t}", "\tfree(buffer);", "\treturn result;", "}", ""});
}

} // namespace

void writeSenderHelpers(const CEmitContext& context, CTextBuffer& source)
{
    writeRawAppend(source);
    writeBegin(context.proj(), source);
    writeEnd(context, source);
}

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
        source.line("\tlength = snprintf(start, sizeof(start), " + start.line + ");");
        lines(source, {"\tif(length < 0 || length >= (int)sizeof(start))", "\t\treturn -1;"});
    }
    source.line("\tbuffer = " + p + "_send_begin(pk, &body);");
    lines(source, {"\tif(buffer == NULL)", "\t\treturn -1;", ""});
}

void writeSenderClose(const CEmitContext& context, CTextBuffer& source, const CSenderStart& start,
                      const std::string& soapAction)
{
    source.emptyLine();
    source.line("\treturn " + context.proj() + "_send_end(trans, pk, buffer, " + (start.formatted ? "start" : start.line) +
                ", &body, " + soapAction + ", timeout);");
    source.line("}");
    source.emptyLine();
}
