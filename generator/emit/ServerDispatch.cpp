#include "generator/emit/ServerDispatch.h"

#include "generator/emit/Mtom.h"
#include "generator/emit/Fragments.h"
#include "generator/emit/TextBuffer.h"
#include "generator/emit/WsAddressing.h"
#include "generator/model/EmitContext.h"
#include "generator/model/Identifier.h"
#include "generator/model/OperationWalk.h"

#include <vector>

std::vector<CServedOperation> servedOperations(const CEmitContext& context)
{
    std::vector<CServedOperation> served;
    // One entry per operation at most: grown by doubling, the list would hold
    // half as many again, and both buffers while it moves.
    served.reserve(countBoundOperations(context.view()));
    // The request kinds served already, by key index.
    std::vector<bool> taken(context.keys().keys().size());
    CNameScope names;
    // the service struct's own members
    names.reserve("context");
    names.reserve("headers");
    names.reserve("wsse");
    names.reserve("understood");
    names.reserve("addressing");
    forEachBoundOperation(context.view(), [&](const CViewPortType&, const CViewOperation& operation) {
        const CKeysOfUse requests = context.keys().keysOf(operation, 0);
        const CStructDef* request = context.layout().structOf(operation.input);
        if (operation.input == nullptr || requests.empty() || request == nullptr || taken[requests.front()->index])
            return;
        taken[requests.front()->index] = true;
        CServedOperation& one = served.emplace_back();
        one.operation = &operation;
        one.function = names.claim(operation.cName);
        one.request = requests.front();
        one.requestStruct = request;
        const CKeysOfUse responses = context.keys().keysOf(operation, 1);
        const CStructDef* response = context.layout().structOf(operation.output);
        if (operation.output != nullptr && !responses.empty() && response != nullptr) {
            one.response = responses.front();
            one.responseStruct = response;
        }
    });
    return served;
}

namespace {

// "int (*<function>)(<proj>_served_t *served, const <in> *in, <out> *out, <fault> *fault)" with end.
void writeFunctionMember(const CEmitContext& context, const CServedOperation& one, CTextBuffer& out)
{
    const std::string& p = context.proj();
    const std::string response =
        one.responseStruct != nullptr ? p + "_" + std::string(one.responseStruct->name) + "_t *out, " : std::string();
    out.line("int (*", one.function, ")(", p, "_served_t *served, const ", p, "_", one.requestStruct->name, "_t *in, ",
             response, p, "_soap_fault_msg_t *fault);");
}

} // namespace

void writeServerDeclarations(const CEmitContext& context, CTextBuffer& header)
{
    const std::string& p = context.proj();
    const std::string& P = context.projUpper();
    const std::vector<CServedOperation> served = servedOperations(context);
    header.line("////////////////////////////////////////////////////////////////////////////");
    header.line("//the server: ", p, "_server_start listens as config says (tessaro_server.h; NULL: every address,");
    header.line("//a free port) and hands each request to its operation's function in service until it is stopped.");
    header.line("//A function reads *in and fills *out (its texts and arrays allocated with malloc: the server frees");
    header.line("//them once the answer is sent) and returns 0, or fills *fault and returns ", P, "_FAULT (a declared");
    header.line("//fault with the message it declares set in the fault); any other result answers a Server fault. A request");
    header.line("//no function takes, or that cannot be read, is answered with the fault or HTTP status that says why.");
    header.line("//An operation without a response message is answered with HTTP 202.");
    header.line("typedef struct ", p, "_served_t{");
    header.line("\tvoid *context;//the service's");
    header.line("\tconst ", p, "_proto_packet_t *request;//the request read: its SOAP header members, HTTP headers and attachment");
    header.line("\t", p, "_proto_packet_t *answer;//the answer: its SOAP header members, HTTP headers and attachment may be set");
    header.line("}", p, "_served_t;");
    header.emptyLine();
    header.line("typedef struct ", p, "_service_t{");
    header.indent();
    header.line("void *context;");
    header.line("//NULL, or what every request passes before its operation: non-zero answers the fault it filled");
    header.line("int (*headers)(", p, "_served_t *served, ", p, "_soap_fault_msg_t *fault);");
    header.line("//NULL, or the WS-Security settings (tessaro_wsse.h) every request is checked against before its function");
    header.line("//(its Security header is then understood; a request that fails gets the WS-Security fault that says");
    header.line("//why) and every SOAP answer goes with");
    header.line("const tessaro_wsse_t *wsse;");
    header.line("//NULL, or the further header entries the functions process, each \"{namespace}name\", ended by a NULL:");
    header.line("//a request's entry that must be understood is taken when it is listed");
    header.line("const char *const *understood;");
    writeMtomServiceMember(header);
    for (const CServedOperation& one : served)
        writeFunctionMember(context, one, header);
    writeWsAddressingServiceMember(context, header);
    header.close("}" + p + "_service_t;");
    header.emptyLine();
    header.line("_declspec(dllexport) int WINAPI ", p, "_server_start(tessaro_server_t **server, const tessaro_server_config_t *config, const ",
                p, "_service_t *service);");
    header.emptyLine();
}

void writeServerDispatch(const CEmitContext& context, CTextBuffer& source)
{
    const std::string& p = context.proj();
    const std::string& P = context.projUpper();
    writeFragment(context, CFragment::ServerDispatch, source);
    source.emptyLine();
    source.line("static int ", p, "_server_call(const ", p, "_service_t *service, ", p, "_served_t *served, ", p,
                "_proto_packet_t *request, ", p, "_proto_packet_t *answer, ", p, "_soap_fault_msg_t *fault)");
    source.open("{");
    source.line("switch(request->msg_type){");
    for (const CServedOperation& one : servedOperations(context)) {
        source.line("case ", P, "_PROTO_", one.request->id, ":");
        source.indent();
        if (one.response != nullptr) {
            source.line("answer->msg_type = ", P, "_PROTO_", one.response->id, ";");
        } else {
            source.line("answer->msg_type = ", P, "_PROTO_HTTP;");
            source.line("answer->msg.http_msg.err_code = 202;");
            source.line("snprintf(answer->msg.http_msg.err_code_string, sizeof(answer->msg.http_msg.err_code_string), \"Accepted\");");
        }
        source.line("if(service->", one.function, " == NULL)");
        source.line("\treturn ", P, "_SERVER_NO_FUNCTION;");
        const std::string response =
            one.response != nullptr ? "&answer->msg." + std::string(one.operation->output->cName) + ", " : std::string();
        source.line("return service->", one.function, "(served, &request->msg.", one.operation->input->cName, ", ", response,
                    "fault);");
        source.outdent();
    }
    source.line("}");
    source.line("return ", P, "_SERVER_NO_OPERATION;");
    source.close();
    source.emptyLine();
    writeWsAddressingServer(context, source);
}
