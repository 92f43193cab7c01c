#include "generator/emit/FixedSenders.h"

#include "generator/model/EmitContext.h"
#include "generator/model/NameForms.h"
#include "generator/model/XmlNamespaces.h"
#include "generator/model/OperationWalk.h"
#include "generator/emit/ExportedFunctions.h"
#include "generator/emit/FaultDetails.h"
#include "generator/emit/Fragments.h"
#include "generator/emit/MetIndexes.h"
#include "generator/emit/TextBuffer.h"


namespace {

// "<indent>result = <proj>_<sender>_send(trans, pk, timeout);".
void writeSendCall(const CEmitContext& context, CTextBuffer& out, const char* indent, const std::string& sender)
{
    out.line(indent, "result = ", context.proj(), "_", sender, "_send(trans, pk, timeout);");
}

void writeCase(const CEmitContext& context, CTextBuffer& out, const std::string& label, const std::string& sender)
{
    out.line("\t\tcase ", context.projUpper(), "_PROTO_", label, ":");
    writeSendCall(context, out, "\t\t\t", sender);
    out.line("\t\t\tbreak;");
}

// A kind whose request and response are different messages: the packet's
// direction picks the message, the first use's when it says none.
void writeTwoWayCase(const CEmitContext& context, CTextBuffer& out, const CMessageKey& key)
{
    const int other = key.otherDirection();
    out.line("\t\tcase ", context.projUpper(), "_PROTO_", key.id, ":");
    out.line("\t\t\tif(pk->msg_direction == ", context.directionConstant(other), ")");
    writeSendCall(context, out, "\t\t\t\t", std::string(key.messages[other]->cName));
    out.line("\t\t\telse");
    writeSendCall(context, out, "\t\t\t\t", std::string(key.messages[key.firstDirection]->cName));
    out.line("\t\t\tbreak;");
}

// The envelopes a version mismatch fault names as understood, SOAP 1.2's
// first: none for a service of SOAP 1.1 alone.
void writeUpgradeHeader(const CEmitContext& context, CTextBuffer& out)
{
    std::string upgrade;
    if (bindsSoapVersion(context.view(), 12)) {
        upgrade = std::string("<upg:Upgrade xmlns:upg=\"") + CXmlNamespaces::Envelope12Uri + "\">" +
            "<upg:SupportedEnvelope qname=\"ns1:Envelope\" xmlns:ns1=\"" + CXmlNamespaces::Envelope12Uri + "\"/>";
        if (bindsSoapVersion(context.view(), 11))
            upgrade += std::string("<upg:SupportedEnvelope qname=\"ns2:Envelope\" xmlns:ns2=\"") +
                CXmlNamespaces::EnvelopeUri + "\"/>";
        upgrade += "</upg:Upgrade>";
    }
    if (upgrade.empty())
        return;
    out.line("//the header block of a version mismatch fault: the envelopes the service understands");
    out.line("#define ", context.projUpper(), "_SOAP_UPGRADE\t", cStringLiteral(upgrade));
    out.emptyLine();
}

} // namespace

void writeFixedSenders(const CEmitContext& context, CTextBuffer& source)
{
    if (!context.keys().hasOperations()) {
        // Without operations the header has no message ids; plain responses
        // and faults can still be sent, with the ids they always have.
        const std::string& P = context.projUpper();
        source.line("enum{");
        source.line("\t", P, "_PROTO_HTTP\t=0x1,");
        source.line("\t", P, "_PROTO_SOAP_FAULT\t=0x2,");
        source.line("};");
        source.emptyLine();
    }
    writeFragment(context, CFragment::ThreadKept, source);
    writeFragment(context, CFragment::SenderFrame, source);
    writeUpgradeHeader(context, source);
    writeFaultDetailSenderHook(context, source);
    writeFragment(context, CFragment::FixedSenders, source);
}

void writePacketDispatch(const CEmitContext& context, CTextBuffer& source)
{
    const std::string& p = context.proj();
    const std::string arguments = "(" + p + "_proto_trans_t *trans, " + p + "_proto_packet_t *pk, int timeout)";
    source.line("static int send_packet", arguments);
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
    CMetIndexes labels; // by key index
    forEachBoundMessage(context.view(), [&](const CViewPortType&, const CViewOperation& operation, int direction,
                                            const CViewDirection& side) {
        for (const CMessageKey* key : context.keys().keysOf(operation, direction)) {
            if (!labels.firstTime(key->index))
                continue;
            const int other = key->otherDirection();
            if (other >= 0 && context.layout().structOf(key->messages[other]) != nullptr)
                writeTwoWayCase(context, source, *key);
            else
                writeCase(context, source, std::string(key->id), std::string(side.message->cName));
        }
    });
    source.line("\t}");
    source.emptyLine();
    source.line("\treturn result;");
    source.line("}");
    source.emptyLine();
    source.line(exportedDefinitionHead(p, CExportedFunction::SendPacket));
    source.line("{");
    source.line("\treturn send_packet(trans, pk, timeout);");
    source.line("}");
    source.emptyLine();
}
