#include "generator/emit/FixedSenders.h"

#include "generator/model/EmitContext.h"
#include "generator/model/OperationWalk.h"
#include "generator/emit/SenderFrame.h"
#include "generator/emit/TextBuffer.h"

#include <set>

namespace {

// The host line that follows the status line of the fixed senders.
const char* const HostFormat = "\\r\\nHOST:%s:%d\\r\\n\"";
const char* const HostArguments = ", trans->dest_ip, (int)trans->dest_port";

void writeHttpResponse(const CEmitContext& context, CTextBuffer& out)
{
    CSenderStart start;
    start.name = "http_resp";
    start.formatted = true;
    start.line = std::string("\"HTTP/1.1 %d %.*s") + HostFormat +
        ", pk->msg.http_msg.err_code, (int)sizeof(pk->msg.http_msg.err_code_string), "
        "pk->msg.http_msg.err_code_string" + HostArguments;
    writeSenderOpen(context, out, start, false);
    out.line("\tmyrawcat(&body, pk->msg.http_msg.buffer, sizeof(pk->msg.http_msg.buffer));");
    writeSenderClose(context, out, start, "NULL");
}

void writeFaultText(CTextBuffer& out, const char* member)
{
    const std::string access = std::string("pk->msg.soap_fault.") + member;
    out.line("\tmytstrcat(&body, " + access + ", sizeof(" + access + "));");
}

void writeSoapFault(const CEmitContext& context, CTextBuffer& out)
{
    CSenderStart start;
    start.name = "soap_fault";
    start.formatted = true;
    start.line = std::string("\"HTTP/1.1 200 OK") + HostFormat + HostArguments;
    writeSenderOpen(context, out, start, false);
    out.line("\tmystrcat(&body, \"<?xml version=\\\"1.0\\\" encoding=\\\"UTF-8\\\"?><SOAP-ENV:Envelope"
             " xmlns:xsi=\\\"http://www.w3.org/1999/XMLSchema-instance\\\""
             " xmlns:SOAP-ENC=\\\"http://schemas.xmlsoap.org/soap/encoding/\\\""
             " xmlns:SOAP-ENV=\\\"http://schemas.xmlsoap.org/soap/envelope/\\\""
             " xmlns:xsd=\\\"http://www.w3.org/1999/XMLSchema\\\""
             " SOAP-ENV:encodingStyle=\\\"http://schemas.xmlsoap.org/soap/encoding/\\\">"
             "<SOAP-ENV:Body><SOAP-ENV:Fault><faultcode xsi:type=\\\"xsd:string\\\">\");");
    writeFaultText(out, "faultcode");
    out.line("\tmystrcat(&body, \"</faultcode><faultstring xsi:type=\\\"xsd:string\\\">\");");
    writeFaultText(out, "faultstring");
    out.line("\tmystrcat(&body, \"</faultstring><detail xsi:type=\\\"xsd:string\\\">\");");
    writeFaultText(out, "detail");
    out.line("\tmystrcat(&body, \"</detail></SOAP-ENV:Fault></SOAP-ENV:Body></SOAP-ENV:Envelope>\");");
    writeSenderClose(context, out, start, "NULL");
}

void writeCase(const CEmitContext& context, CTextBuffer& out, const std::string& label, const std::string& sender)
{
    out.line("\t\tcase " + context.projUpper() + "_PROTO_" + label + ":");
    out.line("\t\t\tresult = " + context.proj() + "_" + sender + "_send(trans, pk, timeout);");
    out.line("\t\t\tbreak;");
}

} // namespace

void writeFixedSenders(const CEmitContext& context, CTextBuffer& source)
{
    if (!context.keys().hasOperations()) {
        // Without operations the header has no message ids; plain responses
        // and faults can still be sent, with the ids they always have.
        const std::string& P = context.projUpper();
        source.line("enum{");
        source.line("\t" + P + "_PROTO_HTTP\t=0x1,");
        source.line("\t" + P + "_PROTO_SOAP_FAULT\t=0x2,");
        source.line("};");
        source.emptyLine();
    }
    writeSenderHelpers(context, source);
    writeHttpResponse(context, source);
    writeSoapFault(context, source);
}

void writePacketDispatch(const CEmitContext& context, CTextBuffer& source)
{
    const std::string& p = context.proj();
    const std::string arguments = "(" + p + "_proto_trans_t *trans, " + p + "_proto_packet_t *pk, int timeout)";
    source.line("static int send_packet" + arguments);
    source.line("{");
    source.emptyLine();
    source.line("\tint result = 0;");
    source.emptyLine();
    source.line("\tswitch (pk->msg_type)");
    source.line("\t{");
    writeCase(context, source, "HTTP", "http_resp");
    writeCase(context, source, "SOAP_FAULT", "soap_fault");
    // A message kind met again (a shared element or operation name) keeps
    // the case of its first message.
    std::set<std::string> labels;
    forEachBoundMessage(context.view(), [&](const CViewPortType&, const CViewOperation& operation, int direction,
                                            const CViewDirection& side) {
        for (const CMessageKey* key : context.keys().keysOf(operation, direction)) {
            if (labels.insert(key->id).second)
                writeCase(context, source, key->id, side.message->cName);
        }
    });
    source.line("\t}");
    source.emptyLine();
    source.line("\treturn result;");
    source.line("}");
    source.emptyLine();
    source.line("_declspec(dllexport) int WINAPI " + p + "_proto_sendpacket" + arguments);
    source.line("{");
    source.line("\treturn send_packet(trans, pk, timeout);");
    source.line("}");
    source.emptyLine();
}
