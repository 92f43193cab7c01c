#include "generator/emit/SourceRuntime.h"

#include "generator/model/EmitContext.h"
#include "generator/emit/ExportedFunctions.h"
#include "generator/emit/Fragments.h"
#include "generator/emit/TextBuffer.h"

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
    out.line("#define " + unused + " __attribute__((unused))");
    lines(out, {"#else"});
    out.line("#define " + unused);
    lines(out, {"#endif", ""});
    for (const CViewType* type : context.layout().codecTypes()) {
        const std::string t = type->cName;
        const std::string value = context.typeName(t) + " *value";
        out.line("static int encode_" + t + "_t(mycursor_t *buff, char *name, " + value + ", int encoded) " + unused + ";");
        out.line("static int decode_" + t + "_t(xmlDocPtr doc, xmlNodePtr cur, " + value + ") " + unused + ";");
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
        out.line("static int " + p + "_" + def->message->cName + "_send" + arguments);
    out.emptyLine();
    for (const CViewSchema& schema : context.view().schemas()) {
        for (const CViewElement* element : schema.elements) {
            if (element->type.isKnown())
                out.line("void WINAPI " + p + "_print_" + element->cName + "_t(" + context.typeName(element->cName) +
                         " *value);");
        }
    }
    out.emptyLine();
    out.line("static int send_packet" + arguments);
    out.emptyLine();
    out.line("static int read_packet(" + p + "_proto_trans_t *trans, char *buff, int size, tessaro_size_t *length, int timeout);");
    out.line("static int " + p + "_proto_decoder(char *buffer, " + p + "_proto_packet_t *pk, tessaro_size_t buffer_len);");
    out.emptyLine();
}

void writeConnectServer(const CEmitContext& context, CTextBuffer& out)
{
    const std::string& p = context.proj();
    const bool windows = context.project().isWindowsTarget();
    out.line(exportedDefinitionHead(p, CExportedFunction::ConnectServer));
    lines(out, {"{", "\tint result = 0;", "\tchar temp_ip[100];"});
    if (windows)
        lines(out, {"\tstruct   in_addr   localaddr;", "\tstruct   hostent   *hp = NULL;"});
    lines(out, {"", "\tmemset(temp_ip, 0, sizeof(temp_ip));",
                "\tif(strlen(ip) >= sizeof(temp_ip) || strlen(ip) >= sizeof(trans->dest_ip) || strlen(url) >= sizeof(trans->url))",
                "\t\treturn -1;"});
    if (windows) {
        lines(out, {"\tif((ip[0] >= 'a' && ip[0] <= 'z') || (ip[0] >= 'A' && ip[0] <= 'Z')){",
                    "\t\thp = gethostbyname(ip);",
                    "\t\tif(hp != NULL && hp->h_length == (int)sizeof(localaddr)){",
                    "\t\t\tmemcpy(&localaddr, hp->h_addr, hp->h_length);",
                    "\t\t\tstrncpy(temp_ip, inet_ntoa(localaddr), sizeof(temp_ip) - 1);",
                    "\t\t}else{",
                    "\t\t\tstrcpy(temp_ip, ip);",
                    "\t\t}",
                    "\t}else{",
                    "\t\tstrcpy(temp_ip, ip);",
                    "\t}"});
    } else {
        out.line("\tstrcpy(temp_ip, ip);");
    }
    lines(out, {"", "\tresult = tessaro_create_tcp_socket(&(trans->socket));", "\tif(result != 0)", "\t\treturn -1;", "",
                "\tresult = tessaro_connect(trans->socket, temp_ip, port);", "\tif(result != 0)", "\t\treturn -1;", "",
                "\tstrcpy(trans->dest_ip, ip);", "\tstrcpy(trans->url, url);", "\ttrans->dest_port = port;", "",
                "\treturn result;", "}", ""});
}

} // namespace

void writeSourceIncludes(const CEmitContext& context, CTextBuffer& source)
{
    lines(source, {"#include <stdio.h>", "#include <stdlib.h>", "", "#include \"tessaro_socket.h\"",
                   "#include \"tessaro_util.h\"", "", "#include \"libxml/xmlmemory.h\"", "#include \"libxml/parser.h\"",
                   "#include \"libxml/tree.h\"", ""});
    source.line("#include \"" + context.proj() + "_api.h\"");
    source.emptyLine();
}

void writeSourceRuntime(const CEmitContext& context, CTextBuffer& source)
{
    writeFragment(context, CFragment::TextCursor, source);
    writeCodecDeclarations(context, source);
    writeOtherDeclarations(context, source);
    writeConnectServer(context, source);
    writeFragment(context, CFragment::TransportExports, source);
}
