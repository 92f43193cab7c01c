#include "generator/emit/OperationCalls.h"

#include "generator/emit/Mtom.h"
#include "generator/emit/ClientTransport.h"
#include "generator/emit/Fragments.h"
#include "generator/emit/HeaderConstants.h"
#include "generator/emit/PacketFree.h"
#include "generator/emit/TextBuffer.h"
#include "generator/emit/WsAddressing.h"
#include "generator/emit/WsSecurity.h"
#include "generator/model/EmitContext.h"
#include "generator/model/Identifier.h"
#include "generator/model/ListRun.h"
#include "generator/model/NameForms.h"
#include "generator/model/OperationWalk.h"

#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

// Names the generated code gives its own functions, types and statics
// after "<proj>_" ("free_<operation>" frees a call's response): an
// operation of such a name gets no call.
bool isTakenName(const std::string& name)
{
    static const std::set<std::string> taken = {
        "call", "call_answer", "call_request", "call_begin", "call_failed", "connect_failure", "exchange_failure",
        "reason_length", "client_error_detail", "call_port", "call_authorized", "client_init", "client_set_credentials",
        "authorization", "challenged", "forget_challenge", "credentials_fit", "digest_response", "http_field_ok", "strerror", "connect_server", "set_attachment", "add_http_header",
        "client_close", "client_set_tls", "client_set_proxy", "client_open", "exchange", "no_proxy", "environment",
        "proxy_of", "tls_result", "parse_address", "trans_timeout", "trans_recv", "trans_send", "call_once", "tunnel", "unmade_connection", "request_begin", "wsa_set",
        "hex_digit", "percent_decode", "proxy_credentials", "forget_proxy", "proxy_refused", "proxy_authorization",
        "proxy_again", "head_end", "head_challenge", "list_challenge", "digest_value", "basic_value",
        "proto_readpacket", "proto_sendpacket", "proto_decoder", "proto_headers", "proto_unpack", "proto_packet",
        "send_begin", "send_end", "http_resp_send", "soap_fault_send"};
    const auto endsWith = [&](const std::string& end) {
        return name.size() > end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0;
    };
    return taken.count(name) != 0 || name.compare(0, 6, "print_") == 0 || name.compare(0, 5, "free_") == 0 ||
        endsWith("_t") || endsWith("_send");
}

// What one operation's call reads and writes: the entities whose names
// its text holds, so that working the calls out (for the header, then for
// the source) makes no text of its own.
struct OperationCall {
    const CViewPortType* portType = nullptr;
    const CViewOperation* operation = nullptr;
    const CStructDef* request = nullptr;
    const CMessageKey* requestKey = nullptr;
    // Null for a call that waits for no response message.
    const CStructDef* response = nullptr;
    // The kinds its response may come as, in the calls' list of them.
    CListRun<const CMessageKey*> responseKeys;
};

// The calls in operation order; an operation whose request the packet API
// cannot send (no message id, no struct) or whose name is taken gets none.
// The calls' runs point into responseKeys: a move keeps its buffer, a copy
// would point into the original.
struct OperationCalls {
    OperationCalls() = default;
    OperationCalls(const OperationCalls&) = delete;
    OperationCalls& operator=(const OperationCalls&) = delete;
    OperationCalls(OperationCalls&&) = default;
    OperationCalls& operator=(OperationCalls&&) = default;

    std::vector<OperationCall> calls;
    std::vector<const CMessageKey*> responseKeys; // each call's side by side
};

OperationCalls operationCalls(const CEmitContext& context)
{
    OperationCalls all;
    std::vector<OperationCall>& calls = all.calls;
    std::vector<const CMessageKey*>& responseKeys = all.responseKeys;
    // Where each call's response keys begin in responseKeys.
    std::vector<std::size_t> firstResponseKey;
    std::unordered_set<std::string_view> names; // views of the operations' own names
    // An empty Body does not say whose response it is: any of these may answer.
    std::vector<const CMessageKey*> emptyResponseKeys;
    bool emptyResponsesListed = false;
    // A call per operation at most: a list grown by doubling would hold half
    // as many again, and both buffers while it moves.
    const std::size_t most = countBoundOperations(context.view());
    calls.reserve(most);
    firstResponseKey.reserve(most + 1);
    forEachBoundOperation(context.view(), [&](const CViewPortType& portType, const CViewOperation& operation) {
        const CStructDef* request = context.layout().structOf(operation.input);
        const CKeysOfUse requestKeys = context.keys().keysOf(operation, 0);
        if (operation.input == nullptr || request == nullptr || requestKeys.empty() || isTakenName(std::string(operation.cName))
            || !names.insert(operation.cName).second)
            return;
        OperationCall& call = calls.emplace_back();
        firstResponseKey.push_back(responseKeys.size());
        call.portType = &portType;
        call.operation = &operation;
        call.request = request;
        call.requestKey = requestKeys.front();
        const CStructDef* response = context.layout().structOf(operation.output);
        if (operation.output == nullptr || response == nullptr)
            return;
        for (const CMessageKey* key : context.keys().keysOf(operation, 1)) {
            if (!key->emptyBody()) {
                responseKeys.push_back(key);
                continue;
            }
            if (!emptyResponsesListed) {
                for (const CMessageKey& other : context.keys().keys()) {
                    if (other.kind == CMessageKey::EmptyResponse)
                        emptyResponseKeys.push_back(&other);
                }
                emptyResponsesListed = true;
            }
            responseKeys.insert(responseKeys.end(), emptyResponseKeys.begin(), emptyResponseKeys.end());
        }
        if (responseKeys.size() > firstResponseKey.back())
            call.response = response;
    });
    // The list stands still now: each call's run of it.
    firstResponseKey.push_back(responseKeys.size());
    for (std::size_t i = 0; i < calls.size(); ++i)
        calls[i].responseKeys = CListRun<const CMessageKey*>(responseKeys.data() + firstResponseKey[i],
                                                             responseKeys.data() + firstResponseKey[i + 1]);
    return all;
}

// "<proj>_<operation>(...)" followed by end.
void writePrototype(const CEmitContext& context, const OperationCall& call, const char* end, CTextBuffer& out)
{
    const std::string& p = context.proj();
    const std::string_view request = call.request->name;
    // The out parameter, "<proj>_<response>_t *out, ", of a call that waits for a response.
    const bool answered = call.response != nullptr;
    const std::string_view outProject = answered ? std::string_view(p) : std::string_view();
    const std::string_view outType = answered ? std::string_view(call.response->name) : std::string_view();
    out.line("_declspec(dllexport) int WINAPI ", p, "_", call.operation->cName, "(", p, "_client_t *client, const ", p,
             "_", request, "_t *in, ", outProject, answered ? "_" : "", outType, answered ? "_t *out, " : "", p,
             "_soap_fault_msg_t *fault)", end);
}

// The function that frees what the call's decoder allocated in *out,
// followed by end.
void writeFreePrototype(const CEmitContext& context, const OperationCall& call, const char* end, CTextBuffer& out)
{
    const std::string& p = context.proj();
    out.line("_declspec(dllexport) void WINAPI ", p, "_free_", call.operation->cName, "(", p, "_", call.response->name,
             "_t *out)", end);
}

// One endpoint constant per port whose binding is a port type's SOAP
// binding and that has an address, "<PROJ>_<PORT>_ENDPOINT" in document
// order; the first port's address is also the default (a local one
// without). Each port type's operations call the first port of its binding.
class CPortEndpoints {
public:
    explicit CPortEndpoints(const CEmitContext& context) : default_(context.projUpper() + "_DEFAULT_ENDPOINT")
    {
        std::set<const CViewBinding*> soapBindings;
        for (const CViewPortType& portType : context.view().portTypes())
            soapBindings.insert(portType.soapBinding);
        CNameScope names;
        names.reserve("DEFAULT");
        for (const CViewService& service : context.view().services()) {
            for (const CViewService::Port& port : service.ports) {
                if (port.binding == nullptr || soapBindings.count(port.binding) == 0 || port.address.empty())
                    continue;
                if (defaultAddress_.empty())
                    defaultAddress_ = port.address;
                constants_.push_back(
                    {context.projUpper() + "_" + names.claim(upperName(sanitiseIdentifier(port.name))) + "_ENDPOINT", &port});
                byBinding_.try_emplace(port.binding, constants_.back().first);
            }
        }
        if (defaultAddress_.empty())
            defaultAddress_ = "http://localhost/";
    }

    void writeConstants(CTextBuffer& header) const
    {
        header.line("#define ", default_, "\t", cStringLiteral(defaultAddress_));
        if (constants_.empty())
            return;
        header.line("//each port's address: a client set to no endpoint calls an operation at its port's");
        for (const auto& [name, port] : constants_)
            header.line("#define ", name, "\t", cStringLiteral(port->address));
    }

    // The constant of the address the operations of the port type go to.
    const std::string& of(const CViewPortType& portType) const
    {
        const auto found = byBinding_.find(portType.soapBinding);
        return found != byBinding_.end() ? found->second : default_;
    }

private:
    std::string default_;
    std::string defaultAddress_;
    std::vector<std::pair<std::string, const CViewService::Port*>> constants_;
    std::unordered_map<const CViewBinding*, std::string> byBinding_;
};

// What a Digest client keeps of the service's challenge for its next calls.
void writeDigestState(const CEmitContext& context, CTextBuffer& header)
{
    const std::string& p = context.proj();
    const std::string& P = context.projUpper();
    header.line("typedef struct ", p, "_digest_t{");
    for (const char* text : {"realm", "nonce", "opaque"})
        header.line("\tchar ", text, "[", P, "_MAX_AUTHINFO_LEN+1];");
    header.line("\tint opaque_given;");
    header.line("\tint algorithm;//0 MD5, 1 SHA-256");
    header.line("\tint session;//the -sess variant of the algorithm");
    header.line("\tint qop;//1 qop=auth; 0 a server without qop");
    header.line("\tunsigned long nc;//the requests sent with the nonce");
    header.line("\tconst char *endpoint;//the client's port_endpoint when the challenge came");
    header.line("}", p, "_digest_t;");
    header.emptyLine();
}

void writeResponseFree(const CEmitContext& context, const OperationCall& call, CHeldStorage& known, CTextBuffer& out)
{
    writeFreePrototype(context, call, "", out);
    out.open("{");
    out.line("if(out == NULL)");
    out.line("\treturn;");
    writeMessageFree(context, *call.response, "out->", known, out);
    out.close();
    out.emptyLine();
}

// A call starts by emptying what it answers in, so that whatever it
// returns, freeing *out (or reading *fault) finds no leftover pointers.
void writeResultsCleared(bool answered, CTextBuffer& out)
{
    if (answered)
        out.line("\tmemset(out, 0, sizeof(*out));");
    out.line("\tif(fault != NULL)");
    out.line("\t\tmemset(fault, 0, sizeof(*fault));");
}

// test: room for the response test, which stays from call to call.
void writeCall(const CEmitContext& context, const OperationCall& call, const CPortEndpoints& endpoints,
               CHeldStorage& known, std::string& test, CTextBuffer& out)
{
    const std::string& p = context.proj();
    const std::string& P = context.projUpper();
    const bool answered = call.response != nullptr;
    writePrototype(context, call, "", out);
    out.line("{");
    out.line("\t", p, "_proto_packet_t *request = NULL;");
    out.line("\t", p, "_proto_packet_t *pk = NULL;");
    out.line("\tint result = 0;");
    out.emptyLine();
    out.line("\tif((result = ", p, "_call_begin(client, in != NULL", (answered ? " && out != NULL" : ""), ")) != 0)");
    out.line("\t\treturn result;");
    writeResultsCleared(answered, out);
    // One block for both packets, neither cleared first: the request begins as the headers' copy
    // or empty and is sent as it is, and the answer's packet is emptied by its reader (or here when
    // the call goes no further).
    out.line("\trequest = (", p, "_proto_packet_t *)malloc(2 * sizeof(*request));");
    out.line("\tif(request == NULL)");
    out.line("\t\treturn ", p, "_call_failed(client, ", P, "_ERR_MEMORY, \"no memory for the call's packets\");");
    out.line("\tpk = request + 1;");
    out.line("\t", p, "_request_begin(client, request);");
    out.line("\trequest->msg_type = ", P, "_PROTO_", call.requestKey->id, ";");
    out.line("\trequest->soap_version = ", P, call.operation->soapVersion == 12 ? "_SOAP_1_2;" : "_SOAP_1_1;");
    out.line("\tmemcpy(&request->msg.", call.operation->input->cName, ", in, sizeof(*in));");
    writeWsAddressingCallRequest(context, *call.operation, out);
    out.line("\tif(result == 0)");
    out.line("\t\tresult = ", p, "_call_port(client, ", endpoints.of(*call.portType), ");");
    out.line("\tif(result == 0)");
    out.line("\t\tresult = ", p, context.project().authenticates() ? "_call_authorized(client, request, pk);"
                                                                     : "_call_request(client, request, pk, NULL);");
    out.line("\telse");
    out.line("\t\tmemset(pk, 0, sizeof(*pk));");
    writeWsAddressingCallAnswer(context, *call.operation, answered, out);
    if (answered) {
        test.clear();
        for (const CMessageKey* key : call.responseKeys)
            test.append(test.empty() ? "" : " || ").append("pk->msg_type == ").append(P).append("_PROTO_").append(key->id);
        // The response's arrays and binaries go to *out: the packet's free below leaves them.
        out.line("\tif(result == 0 && (", test, ")){");
        const std::string_view member = call.operation->output->cName;
        out.line("\t\tmemcpy(out, &pk->msg.", member, ", sizeof(*out));");
        out.line("\t\tmemset(&pk->msg.", member, ", 0, sizeof(*out));");
    } else {
        // A request without a response message is answered by an HTTP status of 2xx.
        out.line("\tif(result == 0 && pk->msg_type == ", P, "_PROTO_HTTP && pk->msg.http_msg.err_code / 100 == 2)");
        out.line("\t\tresult = 0;");
    }
    out.line(answered ? "\t}else if(result == 0)" : "\telse if(result == 0)");
    out.line("\t\tresult = ", p, "_call_answer(client, pk, fault);");
    out.line("\t", p, "_free_proto_packet(pk);");
    out.line("\t//the request's arrays and attachment are the caller's");
    out.line("\tfree(request);");
    out.line("\treturn result;");
    out.line("}");
    out.emptyLine();
    if (answered)
        writeResponseFree(context, call, known, out);
}

} // namespace

void writeOperationCallDeclarations(const CEmitContext& context, CTextBuffer& header)
{
    const std::string& p = context.proj();
    const std::string& P = context.projUpper();
    header.line("////////////////////////////////////////////////////////////////////////////");
    header.line("//one call per operation. ", p, "_client_init sets a client to an endpoint (NULL: the");
    header.line("//WSDL's soap:address below). A call returns 0 when the operation's response is in *out,");
    header.line("//", P, "_FAULT when the service answered with a SOAP fault (copied to *fault unless NULL),");
    header.line("//or a negative ", P, "_ERR_ code; ", p, "_strerror says what each result means, and");
    header.line("//", p, "_client_error_detail(client) why the client's last call failed (host, port and cause).");
    header.line("//The arrays and binaries the decoder allocated in *out are the caller's:");
    header.line("//", p, "_free_<operation>(out) frees them and leaves them empty.");
    header.line("//A call empties *out and *fault first: freeing after any result, or twice, is harmless.");
    if (!context.layout().faultStructs().empty())
        header.line("//The fault message a fault's detail was decoded into is the caller's too: ", p, "_free_fault(fault).");
    CPortEndpoints(context).writeConstants(header);
    header.line("#define ", P, "_FAULT\t1");
    const char* const errors[] = {"ADDRESS", "CONNECT", "SEND", "RECEIVE", "HTTP", "UNEXPECTED", "ARGUMENT", "MEMORY",
                                  "HOST", "AUTH"};
    int code = 0;
    for (const char* error : errors)
        header.line("#define ", P, "_ERR_", error, "\t(", std::to_string(--code), ")");
    writeClientTransportErrors(context, header);
    writeDecodeErrorCode(context, header);
    writeWsSecurityConstants(context, header);
    writeWsAddressingError(context, header);
    header.emptyLine();
    const std::string clientMembers[] = {"char host[256];", "tessaro_port_t port;", "char path[256];",
                                         "int timeout;//seconds that a call may take (connecting, sending and reading), 30 unless changed",
                                         "int http_status;//after " + P + "_ERR_HTTP or " + P + "_ERR_AUTH: the answer's HTTP status",
                                         "char error_detail[" + P + "_MAX_ERROR_DETAIL_LEN+1];//why the last call failed (" + p +
                                             "_client_error_detail)",
                                       "const " + p + "_proto_packet_t *headers;//NULL, or a packet whose SOAP header "
                                       "members, extra HTTP headers and attachment go with each request",
                                       "const char *port_endpoint;//when " + p + "_client_init was given no endpoint: "
                                       "the address of the port called last; NULL when it was given one"};
    // a proxy's Digest challenge is kept whatever the service's authentication
    writeDigestState(context, header);
    header.line("typedef struct ", p, "_client_t{");
    for (const std::string& member : clientMembers)
        header.line("\t", member);
    writeClientTransportMembers(context, header);
    writeWsSecurityClientMember(context, header);
    writeMtomClientMember(context, header);
    writeWsAddressingClientMember(context, header);
    if (context.project().authenticates()) {
        header.line("\t//set by ", p, "_client_set_credentials; ", context.project().usesDigest() ? "Digest" : "Basic",
                    " authentication, as the project says");
        header.line("\tchar user[", P, "_MAX_USER_LEN+1];");
        header.line("\tchar password[", P, "_MAX_USER_PWD_LEN+1];");
        if (context.project().usesDigest())
            header.line("\t", p, "_digest_t digest;//the service's last challenge");
    }
    header.line("}", p, "_client_t;");
    header.emptyLine();
    header.line("_declspec(dllexport) int WINAPI ", p, "_client_init(", p, "_client_t *client, const char *endpoint);");
    const OperationCalls calls = operationCalls(context);
    // What the calls share stands only where there is a call.
    if (context.project().authenticates() && !calls.calls.empty())
        header.line("_declspec(dllexport) int WINAPI ", p, "_client_set_credentials(", p,
                    "_client_t *client, const char *user, const char *password);");
    if (!calls.calls.empty())
        writeWsSecurityDeclarations(context, header);
    header.line("_declspec(dllexport) const char * WINAPI ", p, "_strerror(int result);");
    header.line("_declspec(dllexport) const char * WINAPI ", p, "_client_error_detail(const ", p, "_client_t *client);");
    writeClientTransportDeclarations(context, header);
    writeMtomDeclarations(context, header);
    for (const OperationCall& call : calls.calls) {
        writePrototype(context, call, ";", header);
        if (call.response != nullptr)
            writeFreePrototype(context, call, ";", header);
    }
    header.emptyLine();
    header.emptyLine();
}

void writeOperationCalls(const CEmitContext& context, CTextBuffer& source)
{
    writeFragment(context, CFragment::ClientExports, source);
    const OperationCalls calls = operationCalls(context);
    // Without a call, what the calls share would stand unused.
    if (!calls.calls.empty()) {
        writeWsSecurityClient(context, source);
        writeFragment(context, CFragment::HttpChallenge, source);
        writeFragment(context, CFragment::ProxyAuth, source);
        writeFragment(context, CFragment::ClientCalls, source);
        writeFragment(context, CFragment::WsaClient, source);
        if (context.project().authenticates()) {
            writeFragment(context, context.project().usesDigest() ? CFragment::AuthDigest : CFragment::AuthBasic, source);
            writeFragment(context, CFragment::ClientAuth, source);
        }
    }
    const CPortEndpoints endpoints(context);
    CHeldStorage known;
    std::string test;
    for (const OperationCall& call : calls.calls)
        writeCall(context, call, endpoints, known, test, source);
}
