#include "generator/emit/MessageSenders.h"

#include "generator/model/EmitContext.h"
#include "generator/model/NameForms.h"
#include "generator/model/OperationWalk.h"
#include "generator/emit/SenderFrame.h"
#include "generator/emit/TextBuffer.h"
#include "generator/emit/TypeEncoders.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace {

// One operation direction that sends a message.
struct CMessageUse {
    const CViewOperation* operation;
    int direction;
    const CViewDirection* side;
};

// The envelope a message goes out in, for one operation that sends it:
// every element in its schema's namespace and form, rpc parts wrapped in
// the operation's element of the soap:body namespace, rpc/encoded values
// with their xsi:type, every soap:header part in the Header.
class CEnvelopeWriter {
public:
    // envelopeOpen: the statements that append the Envelope's start tag;
    // access: room for the parts' access paths.
    CEnvelopeWriter(const CEmitContext& context, CTextBuffer& body, const CMessageUse& use,
                    const std::vector<std::string>& envelopeOpen, std::string& access)
        : context_(context), body_(body), use_(use), envelopeOpen_(envelopeOpen), access_(access),
          encoded_(use.side->encoded)
    {
    }

    // The statements that append the Envelope's start tag, the same in every
    // message; in a service with SOAP 1.2 operations the envelope namespace
    // is the packet's version's.
    static std::vector<std::string> envelopeOpen(const CEmitContext& context)
    {
        const std::string rest = std::string(" xmlns:SOAP-ENC=\"http://schemas.xmlsoap.org/soap/encoding/\"") +
            " xmlns:xsi=\"" + CXmlNamespaces::InstanceUri + "\"" + " xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"" +
            context.namespaces().declarations() + ">";
        const auto start = [](const char* uri) { return std::string("<SOAP-ENV:Envelope xmlns:SOAP-ENV=\"") + uri + "\""; };
        if (!bindsSoapVersion(context.view(), 12))
            return {"mystrcat(&body, " + cStringLiteral(start(CXmlNamespaces::EnvelopeUri) + rest) + ");"};
        return {"mystrcat(&body, pk->soap_version == " + context.projUpper() + "_SOAP_1_2 ? " +
                    cStringLiteral(start(CXmlNamespaces::Envelope12Uri)) + " : " +
                    cStringLiteral(start(CXmlNamespaces::EnvelopeUri)) + ");",
                "mystrcat(&body, " + cStringLiteral(rest) + ");"};
    }

    void write(const CStructDef& def)
    {
        const CViewOperation& operation = *use_.operation;
        const CViewMessage& message = *use_.side->message;
        const CFixedMarkup& fixed = fixedMarkup();
        body_.line(fixed.declaration);
        for (const std::string& statement : envelopeOpen_)
            body_.line(statement);
        const CListRun<CHeaderPart> headers = headerParts(*use_.side);
        if (!headers.empty()) {
            body_.line(fixed.headerOpen);
            for (const CHeaderPart& header : headers)
                writeHeader(header, def);
            body_.line(fixed.headerClose);
        }
        body_.line(fixed.bodyOpen);
        const bool rpc = operation.style == CViewOperation::Rpc;
        std::string wrapper;
        if (rpc) {
            const std::string_view ns = use_.side->bodyNamespace.empty() ? std::string_view(context_.view().targetNamespace())
                                                                         : use_.side->bodyNamespace;
            wrapper = context_.namespaces().qualifiedName(ns, std::string(operation.name) + (use_.direction == 1 ? "Response" : ""));
            // The envelope's schema admits no encodingStyle on its own
            // elements: the wrapper carries it, and the SOAP 1.2 encoding's
            // prefix, which only its arrays use.
            add("<" + wrapper + (encoded_ ? encodingAttributes() : std::string()) + ">");
        }
        access_.assign("pk->msg.").append(message.cName).append(".");
        const std::size_t base = access_.size();
        for (const CStructMember& member : def.members) {
            if (member.part != nullptr && !inHeader(*member.part, headers)) {
                access_.resize(base);
                writePart(member, access_.append(member.cName), partTag(member, rpc));
            }
        }
        if (rpc)
            add("</" + wrapper + ">");
        body_.line(fixed.bodyClose);
        body_.line(fixed.envelopeClose);
    }

private:
    // The statements that append the markup every envelope has, escaped once.
    struct CFixedMarkup {
        std::string declaration, headerOpen, headerClose, bodyOpen, bodyClose, envelopeClose;
    };

    static std::string statement(const std::string& xml) { return "mystrcat(&body, " + cStringLiteral(xml) + ");"; }
    static const CFixedMarkup& fixedMarkup()
    {
        static const CFixedMarkup fixed{statement("<?xml version=\"1.0\" encoding=\"UTF-8\"?>"),
                                        statement("<SOAP-ENV:Header>"),      statement("</SOAP-ENV:Header>"),
                                        statement("<SOAP-ENV:Body>"),        statement("</SOAP-ENV:Body>"),
                                        statement("</SOAP-ENV:Envelope>")};
        return fixed;
    }
    void add(const std::string& xml) { body_.line("mystrcat(&body, ", cStringLiteral(xml), ");"); }

    bool soap12Encoding() const { return encoded_ && use_.operation->soapVersion == 12; }
    std::string encodingAttributes() const
    {
        if (!soap12Encoding())
            return " SOAP-ENV:encodingStyle=\"http://schemas.xmlsoap.org/soap/encoding/\"";
        return std::string(" SOAP-ENV:encodingStyle=\"") + CXmlNamespaces::Encoding12Uri + "\" xmlns:" +
            CXmlNamespaces::Encoding12Prefix + "=\"" + CXmlNamespaces::Encoding12Uri + "\"";
    }

    // A header part's value stands in the packet, or, for a further header
    // part of the message itself, in the message's struct.
    void writeHeader(const CHeaderPart& header, const CStructDef& def)
    {
        const CViewPart* part = header.part();
        if (part == nullptr)
            return;
        if (const CStructMember* member = context_.layout().headerMember(header.message, header.partIndex)) {
            writePart(*member, "pk->" + std::string(member->cName), elementTag(*part, part->name), false);
            return;
        }
        for (const CStructMember& member : def.members) {
            if (member.part == part) {
                writePart(member, std::string("pk->msg.").append(use_.side->message->cName) + "." + std::string(member.cName),
                          elementTag(*part, part->name), false);
                return;
            }
        }
    }

    // An element part is its global element, in that element's namespace.
    std::string elementTag(const CViewPart& part, std::string_view otherwise) const
    {
        if (part.refKind == CViewPart::ElementRef && part.element != nullptr)
            return context_.namespaces().qualifiedName(part.element->ns, part.element->name);
        return std::string(otherwise);
    }

    // rpc accessors are named after their parts, in no namespace; in
    // document style a part of a user type takes the type's name.
    std::string partTag(const CStructMember& member, bool rpc) const
    {
        const CViewPart& part = *member.part;
        if (rpc)
            return elementTag(part, part.name);
        if (part.refKind == CViewPart::TypeRef && member.userType != nullptr)
            return std::string(member.userType->name);
        return elementTag(part, member.xmlName);
    }

    void writePart(const CStructMember& member, const std::string& access, const std::string& tag,
                   bool bodyPart = true)
    {
        const bool encoded = bodyPart && encoded_;
        if (member.kind != CStructMember::Struct) {
            writeValueElement(member, access, tag, encoded);
            return;
        }
        if (member.userType != nullptr) {
            if (context_.layout().structOf(member.userType) != nullptr)
                body_.line("encode_", member.userType->cName, "_t(&body, ", cStringLiteral(tag), ", &", access, ", ",
                           !encoded ? "0" : soap12Encoding() ? "2" : "1", ");");
            return;
        }
        // An element of a built-in type: its struct holds the one value.
        if (member.target != nullptr && !member.target->members.empty()) {
            const CStructMember& inner = member.target->members.front();
            writeValueElement(inner, access + "." + std::string(inner.cName), tag, encoded);
        }
    }

    void writeValueElement(const CStructMember& member, const std::string& access, const std::string& tag,
                           bool encoded)
    {
        const std::string type = encoded ? context_.namespaces().typeName(CTypeRef{member.valueBuiltin, nullptr})
                                         : std::string();
        // Neither '<', '/' nor '>' is escaped in a literal: the tag's body serves both.
        const std::string tagBody = cStringBody(tag);
        if (refusedWhenNull(member)) // named by its place in the packet
            writeNullRefusal(body_, "&body", access, access.compare(0, 4, "pk->") == 0 ? access.substr(4) : access);
        if (!member.typeName.empty())
            writeOwnTypeOpen(member, access, tagBody, member.valueBuiltin != 0 ? type : std::string());
        else if (member.valueBuiltin != 0 && !type.empty())
            body_.line("mystrcat(&body, \"<", tagBody, " xsi:type=\\\"", cStringBody(type), "\\\">\");");
        else
            body_.line("mystrcat(&body, \"<", tagBody, ">\");");
        if (member.kind == CStructMember::Number) {
            writeNumberAppend(body_, member, "&body", access);
        } else if (member.kind == CStructMember::Text) {
            writeTextAppend(body_, member.anyContent ? "mymarkupcat" : "mytstrcat", "&body", member, access);
        }
        body_.line("mystrcat(&body, \"</", tagBody, ">\");");
    }

    // An anyType value's start tag with the value's own xsi:type, or where
    // it has none the encoded use's type (none when empty).
    void writeOwnTypeOpen(const CStructMember& member, const std::string& access, const std::string& tagBody,
                          const std::string& type)
    {
        body_.line("mystrcat(&body, \"<", tagBody, "\");");
        writeOwnTypeAppend(body_, "&body", member, access.substr(0, access.size() - member.cName.size()));
        if (!type.empty()) {
            body_.line("else");
            body_.line("\tmystrcat(&body, \" xsi:type=\\\"", cStringBody(type), "\\\"\");");
        }
        body_.line("mystrcat(&body, \">\");");
    }

    const CEmitContext& context_;
    CTextBuffer& body_;
    const CMessageUse& use_;
    const std::vector<std::string>& envelopeOpen_;
    std::string& access_;
    bool encoded_;
};

class CMessageSenderWriter {
public:
    CMessageSenderWriter(const CEmitContext& context, CTextBuffer& out)
        : context_(context), out_(out), envelopeOpen_(CEnvelopeWriter::envelopeOpen(context))
    {
    }

    // One function per message. When operations that share it send
    // different envelopes or soapActions, the packet's message type picks
    // the operation; the first one is the default. A message that is one
    // operation's request and another's response under one message type
    // goes the way the packet's direction says. A message that operations
    // of both SOAP versions send goes as the packet's version's operation
    // sends it (its action, its encoding), where the two differ.
    void write(const std::vector<CMessageUse>& uses)
    {
        const CViewMessage* message = uses.front().side->message;
        const CStructDef* def = context_.layout().structOf(message);
        if (def == nullptr)
            return;
        if (uses.size() == 1) { // most messages: one envelope, taken as it stands
            const CTextBuffer& body = writeEnvelope(*def, uses.front());
            writeSender(startOf(uses.front()), body.text());
            return;
        }
        std::vector<CMessageUse> byVersion[2]; // SOAP 1.1's, SOAP 1.2's
        for (const CMessageUse& use : uses)
            byVersion[use.operation->soapVersion == 12 ? 1 : 0].push_back(use);
        std::string text = bodyOf(*def, uses);
        if (!byVersion[0].empty() && !byVersion[1].empty()) {
            std::string soap11 = bodyOf(*def, byVersion[0]);
            const std::string soap12 = bodyOf(*def, byVersion[1]);
            if (soap12 != soap11)
                text = "\tif(pk->soap_version == " + context_.projUpper() + "_SOAP_1_2){\r\n" + deeper(soap12) + "\t}\r\n" +
                    std::move(soap11);
        }
        // The request line is prepared when any use is a request.
        CSenderStart start = startOf(uses.front());
        for (const CMessageUse& use : uses)
            start = use.direction == 0 ? startOf(use) : start;
        writeSender(start, text);
    }

private:
    void writeSender(const CSenderStart& start, const std::string& body)
    {
        writeSenderOpen(context_, out_, start);
        out_.append(body);
        out_.line("}");
        out_.emptyLine();
    }

    // The function's body for some uses of its message.
    std::string bodyOf(const CStructDef& def, const std::vector<CMessageUse>& uses)
    {
        if (uses.size() == 1) // most messages: one envelope, nothing to dispatch on
            return writeEnvelope(def, uses.front()).text();
        bool shadowed[2] = {false, false};
        const std::string all = dispatch(def, uses, shadowed);
        std::string text;
        for (int direction = 0; direction < 2; ++direction) {
            if (!shadowed[direction])
                continue;
            std::vector<CMessageUse> ways;
            for (const CMessageUse& use : uses) {
                if (use.direction == direction)
                    ways.push_back(use);
            }
            bool none[2] = {false, false};
            text += "\tif(pk->msg_direction == " + context_.directionConstant(direction) + "){\r\n" +
                deeper(dispatch(def, ways, none)) + "\t}\r\n";
        }
        return text + all;
    }

    // The envelope of each use, as the function's body: one text, or a switch
    // on the message type among the texts of the uses that have a type of
    // their own. shadowed[d]: a use of direction d lost its types to a use of
    // the other direction.
    std::string dispatch(const CStructDef& def, const std::vector<CMessageUse>& uses, bool (&shadowed)[2])
    {
        std::vector<std::string> variants;
        std::vector<std::vector<std::string_view>> labels;
        std::map<std::string_view, int> claimed;
        for (const CMessageUse& use : uses) {
            // A message that is a request of one operation and a response
            // of another has a case per use: the message type tells them apart.
            const CTextBuffer& body = writeEnvelope(def, use);
            std::vector<std::string_view> own;
            for (const CMessageKey* key : context_.keys().keysOf(*use.operation, use.direction)) {
                const auto taken = claimed.emplace(key->id, use.direction);
                if (taken.second)
                    own.push_back(key->id);
                else if (taken.first->second != use.direction)
                    shadowed[use.direction] = true;
            }
            // Operations that send the same text share one case.
            const auto same = std::find(variants.begin(), variants.end(), body.text());
            if (same != variants.end()) {
                std::vector<std::string_view>& shared = labels[static_cast<std::size_t>(same - variants.begin())];
                shared.insert(shared.end(), own.begin(), own.end());
            } else if (variants.empty() || !own.empty()) {
                variants.push_back(body.text());
                labels.push_back(own);
            }
        }
        if (variants.size() == 1)
            return std::move(variants.front());
        CTextBuffer text;
        text.line("\tswitch(pk->msg_type){");
        for (std::size_t v = 1; v < variants.size(); ++v) {
            for (std::string_view label : labels[v])
                text.line("\tcase ", context_.projUpper(), "_PROTO_", label, ":");
            text.append(deeper(variants[v]));
        }
        text.line("\tdefault:");
        text.append(deeper(variants.front()));
        text.line("\t}");
        return text.text();
    }

    // The envelope of one use and the end of the sender, into body_.
    const CTextBuffer& writeEnvelope(const CStructDef& def, const CMessageUse& use)
    {
        body_.clear();
        body_.indent();
        CEnvelopeWriter envelope(context_, body_, use, envelopeOpen_, access_);
        envelope.write(def);
        body_.emptyLine();
        writeEnd(body_, use);
        return body_;
    }

    CSenderStart startOf(const CMessageUse& use) const
    {
        CSenderStart start;
        start.name = use.side->message->cName;
        if (use.direction == 0) {
            start.formatted = true;
            start.line = "\"POST %s HTTP/1.1\\r\\nHOST:%s:%d\\r\\n\", trans->url, trans->dest_ip, (int)trans->dest_port";
        } else {
            start.line = "\"HTTP/1.1 200 OK\\r\\n\"";
        }
        return start;
    }

    // A request always says its soapAction, also an empty one; a response
    // repeats a soapAction the operation has.
    void writeEnd(CTextBuffer& body, const CMessageUse& use) const
    {
        std::string action;
        for (char c : use.operation->soapAction) {
            if (c != '\r' && c != '\n' && c != '"')
                action += c;
        }
        const bool none = use.direction == 1 && action.empty();
        writeSendEnd(context_, body, startOf(use), none ? "NULL" : cStringLiteral(action));
    }

    // The text one tab deeper, for a case of the switch.
    static std::string deeper(const std::string& text)
    {
        std::string result;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = text.find('\n', start);
            end = end == std::string::npos ? text.size() : end + 1;
            const std::string line = text.substr(start, end - start);
            if (line != "\r\n")
                result += "\t";
            result += line;
            start = end;
        }
        return result;
    }

    const CEmitContext& context_;
    CTextBuffer& out_;
    const std::vector<std::string> envelopeOpen_;
    std::string access_; // a part's access path, in room that stays from message to message
    CTextBuffer body_; // one use's envelope, in room that stays from message to message
};

} // namespace

void writeMessageSenders(const CEmitContext& context, CTextBuffer& source)
{
    // The messages in the order of their first use, each with its uses side
    // by side in the order met: a counting pass gives each message's place
    // and where its uses start in that order, a second one puts each use in
    // its place (no sort, and no room beyond the uses themselves).
    const CServiceView& view = context.view();
    std::vector<std::uint32_t> placeOf(view.messages().size()); // by message index: 1 + place
    std::vector<std::uint32_t> startOf;                          // by place: its first use's number
    forEachBoundMessage(view, [&](const CViewPortType&, const CViewOperation&, int, const CViewDirection& side) {
        std::uint32_t& place = placeOf[side.message->index];
        if (place == 0) {
            startOf.push_back(0);
            place = static_cast<std::uint32_t>(startOf.size());
        }
        ++startOf[place - 1];
    });
    std::uint32_t total = 0;
    for (std::uint32_t& at : startOf)
        total += std::exchange(at, total);
    startOf.push_back(total);
    std::vector<CMessageUse> uses(total);
    std::vector<std::uint32_t> next(startOf.begin(), startOf.end() - 1);
    forEachBoundMessage(view, [&](const CViewPortType&, const CViewOperation& operation, int direction,
                                  const CViewDirection& side) {
        uses[next[placeOf[side.message->index] - 1]++] = CMessageUse{&operation, direction, &side};
    });
    CMessageSenderWriter writer(context, source);
    std::vector<CMessageUse> usesOfOne;
    for (std::size_t place = 0; place + 1 < startOf.size(); ++place) {
        usesOfOne.assign(uses.begin() + startOf[place], uses.begin() + startOf[place + 1]);
        writer.write(usesOfOne);
    }
}
