#include "generator/emit/SourceRuntime.h"

#include "generator/model/EmitContext.h"
#include "generator/emit/ExportedFunctions.h"
#include "generator/emit/Fragments.h"
#include "generator/emit/TextBuffer.h"
#include "generator/emit/WsSecurity.h"

namespace {

void lines(CTextBuffer& out, std::initializer_list<const char*> text)
{
    for (const char* line : text)
        out.line(line);
}

// Section 1: every type with a struct has an encoder and a decoder. A type
// no message carries leaves its pair unused, which gcc may not warn about.
void writeCodecDeclarations(const CEmitContext& context, CTextBuffer& out)
{
    const std::string unused = context.projUpper() + "_MAYBE_UNUSED";
    lines(out, {"#ifdef __GNUC__"});
    out.line("#define ", unused, " __attribute__((unused))");
    lines(out, {"#else"});
    out.line("#define ", unused);
    lines(out, {"#endif", ""});
    for (const CViewType* type : context.layout().codecTypes()) {
        const std::string_view t = type->cName;
        const std::string& p = context.proj();
        out.line("static int encode_", t, "_t(mycursor_t *buff, char *name, ", p, "_", t, "_t *value, int encoded) ", unused,
                 ";");
        out.line("static int decode_", t, "_t(xmlDocPtr doc, xmlNodePtr cur, ", p, "_", t, "_t *value) ", unused, ";");
        out.emptyLine();
    }
}

// Sections 2 to 4: send functions of the messages that get one, print
// functions of the global elements, and the packet functions.
void writeOtherDeclarations(const CEmitContext& context, CTextBuffer& out)
{
    const std::string& p = context.proj();
    const std::string arguments = "(" + p + "_proto_trans_t *trans, " + p + "_proto_packet_t *pk, int timeout);";
    for (const CStructDef* def : context.layout().messageStructs())
        out.line("static int ", p, "_", def->message->cName, "_send", arguments);
    out.emptyLine();
    for (const CViewSchema& schema : context.view().schemas()) {
        for (const CViewElement* element : schema.elements) {
            if (element->type.isKnown())
                out.line("void WINAPI ", p, "_print_", element->cName, "_t(", p, "_", element->cName, "_t *value);");
        }
    }
    out.emptyLine();
    out.line("static int send_packet", arguments);
    out.emptyLine();
    out.line("struct http_buffer_t;");
    out.line("static int read_packet(", p, "_proto_trans_t *trans, struct http_buffer_t *message, tessaro_size_t *length, int timeout, int *refused);");
    out.line("struct mymtom_room_t;");
    out.line("static int ", p, "_proto_decoder(char *buffer, ", p, "_proto_packet_t *pk, tessaro_size_t buffer_len, tessaro_usec_t deadline, ",
             "struct mymtom_room_t *room);");
    out.emptyLine();
}

// The support library resolves a host name (getaddrinfo) on every target and
// tries its addresses, IPv4 or IPv6, in turn; a socket whose connection
// failed is closed, not left in the transport. An IPv6 address goes in the
// Host line in brackets.
void writeConnectServer(const CEmitContext& context, CTextBuffer& out)
{
    out.line(exportedDefinitionHead(context.proj(), CExportedFunction::ConnectServer));
    lines(out, {"{", "\tint result = 0;", "\tint bracketed = strchr(ip, ':') != NULL;", "",
                "\tif(strlen(ip) + (bracketed ? 2 : 0) >= sizeof(trans->dest_ip) || strlen(url) >= sizeof(trans->url))",
                "\t\treturn -1;", "", "\tresult = tessaro_connect_host(&(trans->socket), ip, port, -1);", "\tif(result != 0)",
                "\t\t//-2 tells a host name that was not found from a connection that failed",
                "\t\treturn result == TESSARO_HOST_NOT_FOUND ? -2 : -1;", "",
                "\tsnprintf(trans->dest_ip, sizeof(trans->dest_ip), bracketed ? \"[%s]\" : \"%s\", ip);",
                "\tstrcpy(trans->url, url);", "\ttrans->dest_port = port;", "", "\treturn result;", "}", ""});
}

} // namespace

void writeSourceIncludes(const CEmitContext& context, CTextBuffer& source)
{
    lines(source, {"#include <locale.h>", "#include <stdarg.h>", "#include <stdio.h>", "#include <stdlib.h>", "", "#include \"tessaro_socket.h\"",
                   "#include \"tessaro_tls.h\"", "#include \"tessaro_util.h\"", "", "#include \"libxml/xmlmemory.h\"", "#include \"libxml/parser.h\"",
                   "#include \"libxml/tree.h\"", "#include \"libxml/parserInternals.h\"", "#include \"libxml/SAX2.h\"", "#include \"libxml/xmlreader.h\"", ""});
    source.line("#include \"", context.proj(), "_api.h\"");
    source.emptyLine();
}

void writeSourceRuntime(const CEmitContext& context, CTextBuffer& source)
{
    writeFragment(context, CFragment::TextCursor, source);
    writeCodecDeclarations(context, source);
    writeOtherDeclarations(context, source);
    writeConnectServer(context, source);
    writeFragment(context, CFragment::TransportIo, source);
    writeFragment(context, CFragment::TransportExports, source);
    writeWsSecuritySender(context, source);
    writeFragment(context, CFragment::MtomSender, source);
    writeFragment(context, CFragment::WsaSender, source);
}
