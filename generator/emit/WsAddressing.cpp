#include "generator/emit/WsAddressing.h"

#include "generator/emit/Fragments.h"
#include "generator/emit/ServerDispatch.h"
#include "generator/emit/TextBuffer.h"
#include "generator/model/EmitContext.h"
#include "generator/model/NameForms.h"
#include "generator/model/ServiceView.h"

void writeWsAddressingTypes(const CEmitContext& context, CTextBuffer& header)
{
    const std::string& p = context.proj();
    const std::string& P = context.projUpper();
    header.line("//WS-Addressing: the namespace of a packet's addressing headers (wsa.version; 0: it has none), and");
    header.line("//what a client's or a service's addressing is set to: 0 as the WSDL says (on for the operations");
    header.line("//whose binding asks for it, in ", P, "_WSA_1_0), ", P, "_WSA_1_0 or _WSA_2004 on, ", P,
                "_WSA_OFF off (a server");
    header.line("//still answers a request that carries addressing headers with them)");
    header.line("#define ", P, "_WSA_1_0\t1//http://www.w3.org/2005/08/addressing");
    header.line("#define ", P, "_WSA_2004\t2//http://schemas.xmlsoap.org/ws/2004/08/addressing");
    header.line("#define ", P, "_WSA_OFF\t3");
    header.line("#define ", P, "_MAX_WSA_URI_LEN\t1024");
    header.line("//a message's addressing headers: an empty one is left out on sending (ReplyTo and FaultTo hold");
    header.line("//their Address); one longer than ", P, "_MAX_WSA_URI_LEN fails the message read");
    header.line("typedef struct ", p, "_wsa_t{");
    header.line("\tint version;");
    for (const char* member : {"action", "message_id", "to", "reply_to", "fault_to", "relates_to"})
        header.line("\tchar ", member, "[", P, "_MAX_WSA_URI_LEN+1];");
    header.line("}", p, "_wsa_t;");
    header.emptyLine();
}

void writeWsAddressingPacketMember(const CEmitContext& context, CTextBuffer& header)
{
    header.line("\t//the WS-Addressing headers the message came with, or goes with when wsa.version is set");
    header.line("\t", context.proj(), "_wsa_t\twsa;");
}

void writeWsAddressingError(const CEmitContext& context, CTextBuffer& header)
{
    const std::string& P = context.projUpper();
    header.line("//WS-Addressing: the answer carries another Action than the response's, none, or relates to another");
    header.line("//message than the request; or no MessageID could be made");
    header.line("#define ", P, "_ERR_ADDRESSING\t(-45)");
}

void writeWsAddressingClientMember(const CEmitContext& context, CTextBuffer& header)
{
    header.line("\tint addressing;//WS-Addressing of the calls: 0 as the WSDL says, ", context.projUpper(),
                "_WSA_1_0, _WSA_2004 or _WSA_OFF");
}

void writeWsAddressingServiceMember(const CEmitContext& context, CTextBuffer& header)
{
    header.line("//WS-Addressing required of requests: 0 as the WSDL says, ", context.projUpper(),
                "_WSA_1_0 or _WSA_2004 always, _WSA_OFF never");
    header.line("int addressing;");
}

void writeWsAddressingCallRequest(const CEmitContext& context, const CViewOperation& operation, CTextBuffer& out)
{
    out.line("\tresult = ", context.proj(), "_wsa_request(client, request, ", operation.addressing ? "1" : "0", ", ",
             cStringLiteral(operation.inputAction), ");");
}

void writeWsAddressingCallAnswer(const CEmitContext& context, const CViewOperation& operation, bool answered,
                                 CTextBuffer& out)
{
    out.line("\tif(result == 0)");
    out.line("\t\tresult = ", context.proj(), "_wsa_answered(client, request, pk, ",
             answered ? cStringLiteral(operation.outputAction) : std::string("NULL"), ");");
}

void writeWsAddressingServer(const CEmitContext& context, CTextBuffer& source)
{
    const std::string& p = context.proj();
    const std::string& P = context.projUpper();
    writeFragment(context, CFragment::WsaServer, source);
    source.line("static int ", p, "_wsa_actions(unsigned int msg_type, const char **input, const char **soap_action, const char **output)");
    source.open("{");
    const std::vector<CServedOperation> served = servedOperations(context);
    if (served.empty())
        source.line("(void)input, (void)soap_action, (void)output;");
    source.line("switch(msg_type){");
    for (const CServedOperation& one : served) {
        const CViewOperation& operation = *one.operation;
        source.line("case ", P, "_PROTO_", one.request->id, ":");
        source.indent();
        source.line("*input = ", cStringLiteral(operation.inputAction), ";");
        source.line("*soap_action = ", cStringLiteral(operation.soapAction), ";");
        source.line("*output = ", one.response != nullptr ? cStringLiteral(operation.outputAction) : std::string("NULL"), ";");
        source.line("return ", operation.addressing ? "1" : "0", ";");
        source.outdent();
    }
    source.line("}");
    source.line("return -1;");
    source.close();
    source.emptyLine();
}
