#include "generator/emit/MessageSenders.h"

#include "generator/model/EmitContext.h"
#include "generator/model/NameForms.h"
#include "generator/model/OperationWalk.h"
#include "generator/emit/SenderFrame.h"
#include "generator/emit/TextBuffer.h"

#include <set>

namespace {

class CMessageSenderWriter {
public:
    CMessageSenderWriter(const CEmitContext& context, CTextBuffer& out) : context_(context), out_(out) {}

    void write(const CViewOperation& operation, int direction, const CViewDirection& side)
    {
        const CStructDef* def = context_.layout().structOf(side.message);
        if (def == nullptr)
            return;
        CTextBuffer body;
        needsTemp_ = false;
        writeEnvelope(body, operation, direction, side, *def);

        CSenderStart start;
        start.name = side.message->cName;
        if (direction == 0) {
            start.formatted = true;
            start.line = "\"POST %s HTTP/1.1\\r\\nHOST:%s:%d\\r\\n\", trans->url, trans->dest_ip, (int)trans->dest_port";
        } else {
            start.line = "\"HTTP/1.1 200 OK\\r\\n\"";
        }
        writeSenderOpen(context_, out_, start, needsTemp_);
        out_.append(body.text());
        writeSenderClose(context_, out_, start, operation.soapAction.empty() ? "NULL" : cStringLiteral(operation.soapAction));
    }

private:
    void add(CTextBuffer& body, const std::string& xml) { body.line("\tmystrcat(&body, " + cStringLiteral(xml) + ");"); }

    std::string namespaceDeclaration() const
    {
        return " xmlns:" + context_.proj() + "=\"" + xmlEscaped(context_.view().targetNamespace()) + "\"";
    }

    void writeEnvelope(CTextBuffer& body, const CViewOperation& operation, int direction, const CViewDirection& side,
                       const CStructDef& def)
    {
        add(body, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
        add(body, "<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"http://schemas.xmlsoap.org/soap/envelope/\""
                  " xmlns:SOAP-ENC=\"http://schemas.xmlsoap.org/soap/encoding/\""
                  " xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
                  " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\""
                  " SOAP-ENV:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\">");
        const CStructMember* header = context_.layout().headerMember(side.header.message, side.header.partIndex);
        if (header != nullptr) {
            add(body, "<SOAP-ENV:Header>");
            writePart(body, *header, "pk->", header->xmlName);
            add(body, "</SOAP-ENV:Header>");
        }
        add(body, "<SOAP-ENV:Body>");
        const bool rpc = operation.style == CViewOperation::Rpc;
        const std::string wrapper = context_.proj() + ":" + operation.name + (direction == 1 ? "Response" : "");
        if (rpc)
            add(body, "<" + wrapper + namespaceDeclaration() + ">");
        const std::string base = "pk->msg." + side.message->cName + ".";
        for (const CStructMember& member : def.members) {
            if (member.part != nullptr)
                writePart(body, member, base, partTag(member, rpc && direction == 1));
        }
        if (rpc)
            add(body, "</" + wrapper + ">");
        add(body, "</SOAP-ENV:Body>");
        add(body, "</SOAP-ENV:Envelope>");
    }

    // rpc responses name their parts; otherwise an element part is its
    // element and a part of a user type takes the type's name.
    static std::string partTag(const CStructMember& member, bool byPartName)
    {
        if (byPartName)
            return member.part->name;
        if (member.part->refKind == CViewPart::TypeRef && member.userType != nullptr)
            return member.userType->name;
        return member.xmlName;
    }

    void writePart(CTextBuffer& body, const CStructMember& member, const std::string& base, const std::string& tag)
    {
        const std::string access = base + member.cName;
        if (member.kind != CStructMember::Struct) {
            writeValueElement(body, member, access, tag);
            return;
        }
        if (member.userType != nullptr) {
            if (context_.layout().structOf(member.userType) != nullptr)
                body.line("\tencode_" + member.userType->cName + "_t(&body, " + cStringLiteral(tag) + ", &" + access + ");");
            return;
        }
        // An element of a built-in type: its struct holds the one value.
        if (member.target != nullptr && !member.target->members.empty()) {
            const CStructMember& inner = member.target->members.front();
            writeValueElement(body, inner, access + "." + inner.cName, tag);
        }
    }

    void writeValueElement(CTextBuffer& body, const CStructMember& member, const std::string& access,
                           const std::string& tag)
    {
        const std::string name = context_.proj() + ":" + tag;
        add(body, "<" + name + namespaceDeclaration() + ">");
        if (member.kind == CStructMember::Number) {
            needsTemp_ = true;
            body.line(std::string("\tsnprintf(temp, sizeof(temp), \"") + numberType(member.builtin).encodeFormat + "\", " + access + ");");
            body.line("\tmystrcat(&body, temp);");
        } else if (member.kind == CStructMember::Text) {
            body.line("\tmytstrcat(&body, " + access + ", sizeof(" + access + "));");
        }
        add(body, "</" + name + ">");
    }

    const CEmitContext& context_;
    CTextBuffer& out_;
    bool needsTemp_ = false;
};

} // namespace

void writeMessageSenders(const CEmitContext& context, CTextBuffer& source)
{
    CMessageSenderWriter writer(context, source);
    std::set<const CViewMessage*> written;
    forEachBoundMessage(context.view(), [&](const CViewPortType&, const CViewOperation& operation, int direction,
                                            const CViewDirection& side) {
        if (written.insert(side.message).second)
            writer.write(operation, direction, side);
    });
}
