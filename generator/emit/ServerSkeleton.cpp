#include "generator/emit/ServerSkeleton.h"

#include "generator/emit/ServerDispatch.h"
#include "generator/emit/TextBuffer.h"
#include "generator/model/EmitContext.h"
#include "generator/model/NameForms.h"

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

void lines(CTextBuffer& out, std::initializer_list<const char*> text)
{
    for (const char* line : text)
        out.line(line);
}

void writeOperation(const CEmitContext& context, const CServedOperation& one, CTextBuffer& out)
{
    const std::string& p = context.proj();
    const std::string& P = context.projUpper();
    const bool answered = one.responseStruct != nullptr;
    out.line("//", one.operation->name, ": reads *in and fills *out", answered ? "" : " (an operation without a response: HTTP 202 answers it)",
             ", or fills *fault and returns ", P, "_FAULT");
    const std::string response = answered ? p + "_" + std::string(one.responseStruct->name) + "_t *out, " : std::string();
    out.line("static int serve_", one.function, "(", p, "_served_t *served, const ", p, "_", one.requestStruct->name, "_t *in, ",
             response, p, "_soap_fault_msg_t *fault)");
    out.open("{");
    out.line(answered ? "(void)served; (void)in; (void)out;" : "(void)served; (void)in;");
    out.line("snprintf(fault->faultstring, sizeof(fault->faultstring), \"%s\", ",
             cStringLiteral(std::string(one.operation->name) + " is not written yet"), ");");
    out.line("return ", P, "_FAULT;");
    out.close();
    out.emptyLine();
}

} // namespace

void writeServerSkeleton(const CEmitContext& context, CTextBuffer& out)
{
    const std::string& p = context.proj();
    const std::vector<CServedOperation> served = servedOperations(context);
    out.line("//the service: each operation's function reads its request and fills its response, or a fault.");
    out.line("//A response's texts and arrays are allocated with malloc: the server frees them once it is sent.");
    out.line("//  ", p, "_server [PORT]   (4321 unless given, 0 for a free port; SIGINT or SIGTERM stops it,");
    out.line("//  once the requests it has taken are answered)");
    lines(out, {"#include <stdio.h>", "#include <stdlib.h>", ""});
    out.line("#include \"", p, "_api.h\"");
    out.emptyLine();
    for (const CServedOperation& one : served)
        writeOperation(context, one, out);
    lines(out, {"int main(int argc, char **argv)", "{"});
    out.indent();
    out.line(p, "_service_t service = {0};");
    lines(out, {"tessaro_server_config_t config = {0};", "tessaro_server_t *server;", ""});
    for (const CServedOperation& one : served)
        out.line("service.", one.function, " = serve_", one.function, ";");
    out.line("config.port = (tessaro_port_t)(argc > 1 ? atoi(argv[1]) : 4321);");
    // The document as kvgen read it, wherever the server is started from.
    std::error_code error;
    const std::filesystem::path wsdl = std::filesystem::absolute(context.project().wsdlPath, error);
    out.line("//GET ...?wsdl answers the WSDL, and a GET of a document it imports that document");
    out.line("config.wsdl = ", cStringLiteral(error ? context.project().wsdlPath : wsdl.generic_string()), ";");
    out.open("if(", p, "_server_start(&server, &config, &service) != 0){");
    out.line("printf(\"", p, "_server: cannot listen on port %u\\n\", (unsigned int)config.port);");
    out.line("return 1;");
    out.close();
    out.line("printf(\"", p, "_server: listens on port %u\\n\", (unsigned int)tessaro_server_port(server));");
    lines(out, {"fflush(stdout);", "tessaro_server_stop_on_signals(server);", "tessaro_server_wait(server);",
                "tessaro_server_free(server);", "return 0;"});
    out.close();
}
