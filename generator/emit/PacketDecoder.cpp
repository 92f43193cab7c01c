#include "generator/emit/PacketDecoder.h"

#include "generator/model/EmitContext.h"
#include "generator/model/NameForms.h"
#include "generator/model/OperationWalk.h"
#include "generator/emit/ExportedFunctions.h"
#include "generator/emit/Fragments.h"
#include "generator/emit/MetIndexes.h"
#include "generator/emit/ResponseDecoders.h"
#include "generator/emit/StructStream.h"
#include "generator/emit/TextBuffer.h"
#include "generator/emit/WsSecurity.h"
#include "generator/emit/ValueDecoding.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace {

void lines(CTextBuffer& out, std::initializer_list<const char*> text)
{
    for (const char* line : text)
        out.line(line);
}

// How one part or header member is read from the node it stands on.
struct CValueAccess {
    enum Kind { Skip, Decode, Value };
    Kind kind = Skip;
    std::string access;               // the packet field
    const CStructMember* value = nullptr; // Value: the number or text member
    std::string_view typeName;        // Decode: the decode_ function's type, a name in the view
};

// A built-in element is held in its own struct, whose one member carries
// the value; a user type has its decoder.
CValueAccess accessOf(const CEmitContext& context, const CStructMember* member, std::string access)
{
    CValueAccess result;
    if (member == nullptr)
        return result;
    result.access = std::move(access);
    if (const CStructMember* value = carriedValue(*member)) {
        result.kind = CValueAccess::Value;
        result.value = value;
        if (value != member)
            result.access.append(".").append(value->cName);
    } else if (member->kind == CStructMember::Struct && !member->pointer && member->userType != nullptr &&
               context.layout().structOf(member->userType) != nullptr) {
        result.kind = CValueAccess::Decode;
        result.typeName = member->userType->cName;
    }
    return result;
}

// The message member of a part; null when the message struct has none.
const CStructMember* messageMember(const CStructDef* def, const CViewPart& part)
{
    if (def == nullptr)
        return nullptr;
    for (const CStructMember& member : def->members) {
        if (member.part == &part)
            return &member;
    }
    return nullptr;
}

// Where a block stands: in a run of parts read one after the other (cur
// moves to the next element first, a missing one fails the message, and so
// does a number or text part of another name, whose value would be lost),
// in such a run whatever names its elements carry (SOAP encoding's rpc
// accessors, which senders name loosely and whose order tells the parts),
// on the message's own element, or in a loop over the Header's elements
// that reads whichever names match.
enum class BlockMode { Positional, AnyName, OnElement, Matched };

// An anyType value's own xsi:type, kept beside it (its members stand where
// the value's does), also where the content is empty.
void writeOwnTypeRead(const CValueAccess& value, const std::string& in, CTextBuffer& out)
{
    const CStructMember& member = *value.value;
    if (member.typeName.empty())
        return;
    const std::string owner = value.access.substr(0, value.access.size() - member.cName.size());
    out.line(in, "if((result = mydecode_own_type(doc, cur, \"", value.access, "\", &", owner, member.typeName, ", &", owner,
             member.typeNsName, ")) != 0)");
    out.line(in, "\tgoto over;");
}

void writeValue(const CValueAccess& value, const std::string& in, CTextBuffer& out)
{
    // Content of xsd:anyType is kept as the markup it came as.
    const char* fetch = value.value->anyContent ? "mydecode_content(cur)" : "mymtom_text(doc, cur)";
    out.line(in, "if((key = ", fetch, ") != NULL){");
    const std::string& name = value.access; // the member as the caller reaches it: pk->...
    writeKeyConversion(*value.value, value.access, name, in + "\t", out);
    out.line(in, "\txmlFree(key);");
    out.line(in, "\tkey = NULL;");
    out.line(in, "\tif(result != 0)");
    out.line(in, "\t\tgoto over;");
    if (emptyTextFails(*value.value)) {
        out.line(in, "}else{");
        writeEmptyValueRefusal(out, name, in, "\t");
        out.line(in, "\tgoto over;");
    }
    out.line(in, "}");
    writeOwnTypeRead(value, in, out);
}

// The name and namespace a part's element carries: an element part's global
// element's, else the part's own name in no namespace.
struct CPartElement {
    std::string_view ns;
    std::string_view name;
};

CPartElement partElement(const CViewPart& part, std::string_view name)
{
    if (part.refKind == CViewPart::ElementRef && part.element != nullptr)
        return CPartElement{part.element->ns, part.element->name};
    return CPartElement{std::string_view(), name};
}

// A header element read in the Matched mode stands once.
void writeRepeatRefusal(const CValueAccess& value, const CPartElement& element, const std::string& in, CTextBuffer& out)
{
    out.line(in, "if(mydecode_repeated(cur)){");
    out.line(in, "\tresult = mydecode_refuse(doc, \"", value.access.empty() ? std::string(element.name) : value.access,
             "\", NULL, \"stands twice\");");
    out.line(in, "\tgoto over;");
    out.line(in, "}");
}

void writeBlock(const CValueAccess& value, const CPartElement& element, BlockMode mode, const std::string& in,
                CTextBuffer& out)
{
    const bool run = mode == BlockMode::Positional || mode == BlockMode::AnyName;
    const std::string part = value.access.empty() ? std::string(element.name) : value.access;
    if (run) {
        out.line(in, "cur = mydecode_element(cur);");
        out.line(in, "if(cur == NULL){");
        out.line(in, "\tresult = mydecode_fail_at(doc, ", cStringLiteral("the message ends before its part " + part), ", NULL);");
        out.line(in, "\tgoto over;");
        out.line(in, "}");
    }
    // The test of a block that is read only when the element's name matches.
    const auto writeTest = [&] {
        if (mode == BlockMode::AnyName) {
            out.line(in, "{");
            return;
        }
        out.line(in, "if(", namedTest(element.ns, element.name), "){");
        if (mode == BlockMode::Matched)
            writeRepeatRefusal(value, element, in + "\t", out);
    };
    if (value.kind == CValueAccess::Decode) {
        const std::string_view deeper = mode == BlockMode::Matched ? "\t" : "";
        if (mode == BlockMode::Matched)
            writeTest();
        out.line(in, deeper, "if((result = decode_", value.typeName, "_t(doc, cur, &", value.access, ")) != 0)");
        out.line(in, deeper, "\tgoto over;");
        if (mode == BlockMode::Matched)
            out.line(in, "}");
    } else if (value.kind == CValueAccess::Value) {
        writeTest();
        writeValue(value, in + "\t", out);
        if (mode == BlockMode::Positional) {
            out.line(in, "}else{");
            out.line(in, "\tresult = mydecode_fail_at(doc, ", cStringLiteral("the message's part " + part + " comes as"), ", cur);");
            out.line(in, "\tgoto over;");
        }
        out.line(in, "}");
    }
    if (mode != BlockMode::Matched)
        out.line(in, "cur = cur->next;");
}

// The element a header part carries in the Header.
CPartElement headerElement(const CViewPart& part)
{
    return partElement(part, part.name);
}

// Each soap:header part with a packet member, once, read from whichever
// child of the Header carries its name.
void writeHeaderRun(const CEmitContext& context, CTextBuffer& out)
{
    const CStructLayout& layout = context.layout();
    std::unordered_set<const CStructMember*> written;
    std::set<std::pair<std::string_view, std::string_view>> known; // every header part's element
    out.line("\t\t\tfor(cur = mydecode_element(cur); cur != NULL; cur = mydecode_element(cur->next)){");
    forEachBoundMessage(context.view(), [&](const CViewPortType&, const CViewOperation&, int, const CViewDirection& side) {
        for (const CHeaderPart& header : headerParts(side)) {
            const CStructMember* member = layout.headerMember(header.message, header.partIndex);
            const CViewPart* part = header.part();
            if (part != nullptr)
                known.emplace(headerElement(*part).ns, headerElement(*part).name);
            if (member == nullptr || part == nullptr || !written.insert(member).second)
                continue;
            writeBlock(accessOf(context, member, "pk->" + std::string(member->cName)), headerElement(*part), BlockMode::Matched,
                       "\t\t\t\t", out);
        }
    });
    // An entry no header part names, which this node must understand, fails the message.
    std::string understood;
    for (const auto& [ns, name] : known)
        understood.append(understood.empty() ? "" : " || ").append(namedTest(ns, name));
    out.line("\t\t\t\tif(", context.proj(), "_wsa_read(pk, cur, &result) != 0){");
    out.line("\t\t\t\t\tif(result != 0)");
    out.line("\t\t\t\t\t\tgoto over;");
    out.line("\t\t\t\t\tcontinue;");
    out.line("\t\t\t\t}");
    out.line("\t\t\t\tif(", understood.empty() ? std::string() : "!(" + understood + ") && ", "!", context.proj(),
             "_header_understood(pk, cur) && mydecode_must_understand(doc, cur, pk->not_understood, sizeof(pk->not_understood))){");
    out.line("\t\t\t\t\tpk->decode_fault = \"SOAP-ENV:MustUnderstand\";");
    out.line("\t\t\t\t\tresult = -1;");
    out.line("\t\t\t\t\tgoto over;");
    out.line("\t\t\t\t}");
    out.line("\t\t\t}");
}

// The further header parts a message holds in its own struct, read from the
// Header once the Body has told which message it is.
void writeOwnHeaderParts(const CEmitContext& context, const CViewDirection& side, CTextBuffer& out)
{
    const CViewMessage& message = *side.message;
    const CStructDef* def = context.layout().structOf(&message);
    CTextBuffer blocks;
    for (const CHeaderPart& header : headerParts(side)) {
        const CViewPart* part = header.part();
        if (part == nullptr || context.layout().headerMember(header.message, header.partIndex) != nullptr ||
            header.message != &message)
            continue;
        const CStructMember* member = messageMember(def, *part);
        if (member != nullptr)
            writeBlock(accessOf(context, member, std::string("pk->msg.").append(message.cName) + "." + std::string(member->cName)),
                       headerElement(*part), BlockMode::Matched, "\t\t\t\t\t\t", blocks);
    }
    if (blocks.empty())
        return;
    out.line("\t\t\t\t\tfor(cur = header != NULL ? mydecode_element(header->xmlChildrenNode) : NULL; cur != NULL; cur = mydecode_element(cur->next)){");
    out.append(blocks.text());
    out.line("\t\t\t\t\t}");
}

// The parts of a message in order from where its test leaves cur; the
// parts soap:headers carry are read in the Header instead.
void writeParts(const CEmitContext& context, const CViewOperation& operation, const CViewDirection& side,
                CTextBuffer& out)
{
    const CViewMessage& message = *side.message;
    const CStructDef* def = context.layout().structOf(&message);
    const CListRun<CHeaderPart> headers = headerParts(side);
    const bool document = operation.style != CViewOperation::Rpc;
    const BlockMode run = !document && side.encoded ? BlockMode::AnyName : BlockMode::Positional;
    bool started = !document;
    bool first = true;
    for (const CViewPart& part : message.parts) {
        if (inHeader(part, headers))
            continue;
        if (!started && part.refKind != CViewPart::ElementRef)
            continue; // a document message starts at its first element
        started = true;
        const CStructMember* member = messageMember(def, part);
        const std::string_view xmlName = member != nullptr ? member->xmlName : std::string_view(part.name);
        std::string access;
        if (member != nullptr)
            access.append("pk->msg.").append(message.cName).append(".").append(member->cName);
        writeBlock(accessOf(context, member, std::move(access)), partElement(part, xmlName),
                   document && first ? BlockMode::OnElement : run, "\t\t\t\t\t", out);
        first = false;
    }
}

// The element a document message's Body starts with: its first element
// part that no soap:header carries; null when there is none.
const CViewElement* firstBodyElement(const CViewDirection& side)
{
    const CListRun<CHeaderPart> headers = headerParts(side);
    for (const CViewPart& part : side.message->parts) {
        if (!inHeader(part, headers) && part.refKind == CViewPart::ElementRef && part.element != nullptr)
            return part.element;
    }
    return nullptr;
}

// By key index: the SOAP versions a kind is bound in (bit 1: 1.1, bit 2: 1.2).
std::vector<int> versionsOfKinds(const CEmitContext& context)
{
    std::vector<int> versions(context.keys().keys().size());
    forEachBoundMessage(context.view(), [&](const CViewPortType&, const CViewOperation& operation, int direction,
                                            const CViewDirection&) {
        for (const CMessageKey* key : context.keys().keysOf(operation, direction))
            versions[key->index] |= operation.soapVersion == 12 ? 2 : 1;
    });
    return versions;
}

// A kind that only operations of the other SOAP version send is refused
// as a version mismatch.
void writeVersionTest(int versions, CTextBuffer& out)
{
    if (versions != 1 && versions != 2)
        return;
    out.line("\t\t\t\t\tif(pk->soap_version ", versions == 1 ? "==" : "!=", " 12){");
    out.line("\t\t\t\t\t\tpk->decode_fault = \"SOAP-ENV:VersionMismatch\";");
    out.line("\t\t\t\t\t\tresult = mydecode_fail_at(doc, \"no operation of the message's SOAP version takes\", cur);");
    out.line("\t\t\t\t\t\tgoto over;");
    out.line("\t\t\t\t\t}");
}

// Whether a message of the service is SOAP-encoded (its values may come by reference).
bool usesEncoding(const CEmitContext& context)
{
    bool encoded = false;
    forEachBoundMessage(context.view(), [&](const CViewPortType&, const CViewOperation&, int, const CViewDirection& side) {
        encoded = encoded || side.encoded;
    });
    return encoded;
}

// One kind of message the Body may start with, in the order the decoder
// tests them: the test of the element, and where it is read into.
struct CKindBlock {
    const CViewOperation& operation;
    const CViewDirection& side;
    const CMessageKey& key;
    bool rpc;
    std::string_view element; // the local name the test asks of cur
    std::string_view ns;      // the namespace it asks
    // The key's other way (-1: none), and whether the kind is read into
    // that way's message: the test then asks the packet's direction.
    int other;
    bool second;
};

// The line "<head><test><tail>", the test the C condition on cur that tells
// the kind. Made where it is written (the thousands of kinds of a large
// service would hold their tests all at once), its pieces straight into out.
void writeKindTest(const CEmitContext& context, const CKindBlock& kind, std::string_view head, std::string_view tail,
                   CTextBuffer& out)
{
    const bool byWay = kind.other >= 0;
    const std::string way = byWay ? context.directionConstant(kind.other) : std::string();
    const std::string_view wayTest[] = {byWay ? "pk->msg_direction " : "", byWay ? (kind.second ? "== " : "!= ") : "", way,
                                        byWay ? " && " : ""};
    // The kind's tag constant names the element, unless the Body starts with another.
    if (kind.element == kind.key.tagValue())
        out.line(head, wayTest[0], wayTest[1], wayTest[2], wayTest[3], "mydecode_named(cur, ", cStringLiteral(kind.ns), ", ",
                 context.projUpper(), "_", kind.key.id, "_TAG)", tail);
    else
        out.line(head, wayTest[0], wayTest[1], wayTest[2], wayTest[3], namedTest(kind.ns, kind.element), tail);
}

// The kinds in the decoder's order, found once for its passes over them.
std::vector<CKindBlock> kindBlocks(const CEmitContext& context)
{
    std::vector<CKindBlock> kinds;
    // By key index: the kinds read into the message of their first use, and
    // those read into the message of their other way.
    CMetIndexes written[2];
    forEachBoundMessage(context.view(), [&](const CViewPortType&, const CViewOperation& operation, int direction,
                                            const CViewDirection& side) {
        const CKeysOfUse keys = context.keys().keysOf(operation, direction);
        if (keys.empty())
            return;
        const bool rpc = operation.style == CViewOperation::Rpc;
        // A further soap:header part may be the message's first element
        // part: the message is known by the element its Body starts with,
        // and by that element's key where it has one.
        const CMessageKey* key = keys.front();
        const CViewElement* element = rpc ? nullptr : firstBodyElement(side);
        const std::string_view body = rpc ? key->tagValue() : element != nullptr ? element->name : std::string_view();
        if (body.empty())
            return;
        // An rpc wrapper stands in the soap:body namespace (the target namespace without one).
        const std::string_view ns = !rpc ? element->ns
                                    : side.bodyNamespace.empty() ? std::string_view(context.view().targetNamespace())
                                                                 : side.bodyNamespace;
        for (const CMessageKey* other : keys) {
            if (other->tagValue() == body)
                key = other;
        }
        // A kind whose request and response are different messages is read
        // into the message of the way it came.
        const int other = key->otherDirection();
        const bool second = other == direction && side.message == key->messages[other];
        if (!written[second ? 1 : 0].firstTime(key->index))
            return;
        kinds.push_back(CKindBlock{operation, side, *key, rpc, body, ns, other, second});
    });
    return kinds;
}

void writeMessageRun(const CEmitContext& context, const std::vector<CKindBlock>& kinds, CTextBuffer& out)
{
    const std::string& P = context.projUpper();
    // In a service of SOAP 1.1 alone the envelope's test says it all; a
    // service with SOAP 1.2 operations reads either envelope (a SOAP 1.1
    // version mismatch fault among them) and tests each kind.
    const bool soap12 = bindsSoapVersion(context.view(), 12);
    const std::vector<int> versions = soap12 ? versionsOfKinds(context) : std::vector<int>();
    for (const CKindBlock& kind : kinds) {
        writeKindTest(context, kind, "\t\t\t\tif(", "){", out);
        out.line("\t\t\t\t\tpk->msg_type = ", P, "_PROTO_", kind.key.id, ";");
        if (soap12)
            writeVersionTest(versions[kind.key.index], out);
        if (kind.rpc)
            out.line("\t\t\t\t\tcur = cur->xmlChildrenNode;");
        writeParts(context, kind.operation, kind.side, out);
        writeOwnHeaderParts(context, kind.side, out);
        out.line("\t\t\t\t\tgoto over;");
        out.line("\t\t\t\t}");
        out.emptyLine();
    }
}

// Where a kind's message is read item by item: a message of one Body part
// (a document's element, an rpc wrapper's first element) whose type reads
// its children apart (decodedItemByItem), its struct held in the packet.
// Empty otherwise.
struct CItemRun {
    std::string typeName; // the T of decode_T_item
    std::string access;   // the packet's member
    std::string shape;    // a SOAP array's member as its shape's failure names it; empty for another type
    bool byText = false;  // its items are numbers or texts (readFromItemText)
};

CItemRun itemRunOf(const CEmitContext& context, const CKindBlock& kind)
{
    const CViewMessage& message = *kind.side.message;
    const CListRun<CHeaderPart> headers = headerParts(kind.side);
    const CViewPart* only = nullptr;
    for (const CViewPart& part : message.parts) {
        if (inHeader(part, headers))
            continue;
        if (only != nullptr)
            return {};
        only = &part;
    }
    if (only == nullptr || (!kind.rpc && only->refKind != CViewPart::ElementRef))
        return {};
    const CStructDef* def = context.layout().structOf(&message);
    const CStructMember* member = messageMember(def, *only);
    if (member == nullptr || accessOf(context, member, std::string()).kind != CValueAccess::Decode)
        return {};
    const CViewType& type = *member->userType;
    const CStructDef* typeDef = context.layout().structOf(&type);
    if (typeDef == nullptr || !decodedItemByItem(type, *typeDef))
        return {};
    CItemRun run{std::string(type.cName), std::string("pk->msg.").append(message.cName).append(".").append(member->cName),
                 std::string(), readFromItemText(*typeDef)};
    if (type.soapArray)
        run.shape.append(context.proj()).append("_").append(type.cName).append("_t.").append(typeDef->members.front().cName);
    return run;
}

// How the reader reads one kind's items: in the kind's element, or (rpc)
// in the wrapper's first element, whatever its name.
void writeItemRun(const CItemRun& run, bool rpc, const std::string& indent, CTextBuffer& out)
{
    if (!run.shape.empty())
        out.line(indent, "mystream_shaped(reader, \"", run.shape, "\", decode_", run.typeName, "_end);");
    if (run.byText)
        out.line(indent, "mystream_by_text(reader);");
    out.line(indent, "return mystream_items(reader, ", rpc ? "1" : "0", ", decode_", run.typeName, "_item, &", run.access, ");");
}

// A kind's lines in the kind function of a reading without the whole tree:
// whether the reading takes the kind, and its lines at indent where it does.
struct CStreamKinds {
    std::function<bool(const CKindBlock&)> takes;
    std::function<void(const CKindBlock&, const std::string& indent, CTextBuffer& out)> write;
};

// The kinds tested in the decoder's order on the Body's first element, up
// to the last one the reading takes: a message of a kind before it that the
// reading does not take is the tree's. Whether each kind is taken is settled
// before any of the chain is written, so the chain goes straight into the
// text that holds it: held aside, a large service's chain cost its size again.
struct CKindChain {
    const std::vector<CKindBlock>& kinds;
    const CStreamKinds& reading;
    std::vector<bool> taken;             // by the kinds' position
    std::size_t end = 0;                 // one past the last kind taken; 0 when it takes none
    std::vector<std::string_view> names; // the local names the taken kinds' tests ask, each once
};

CKindChain kindChain(const std::vector<CKindBlock>& kinds, const CStreamKinds& reading)
{
    CKindChain chain{kinds, reading, std::vector<bool>(kinds.size()), 0, {}};
    // Searching the names for each kind grew with the square of the kinds.
    std::unordered_set<std::string_view> named;
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        if (!reading.takes(kinds[k]))
            continue;
        chain.taken[k] = true;
        chain.end = k + 1;
        if (named.insert(kinds[k].element).second)
            chain.names.push_back(kinds[k].element);
    }
    return chain;
}

void writeKindChain(const CEmitContext& context, const CKindChain& chain, CTextBuffer& out)
{
    const std::string& P = context.projUpper();
    const bool soap12 = bindsSoapVersion(context.view(), 12);
    const std::vector<int> versions = soap12 ? versionsOfKinds(context) : std::vector<int>();
    for (std::size_t k = 0; k < chain.end; ++k) {
        const CKindBlock& kind = chain.kinds[k];
        writeKindTest(context, kind, k == 0 ? "\tif(" : "\telse if(", "){", out);
        if (chain.taken[k]) {
            out.line("\t\tpk->msg_type = ", P, "_PROTO_", kind.key.id, ";");
            // A kind of one SOAP version met in the other's envelope is the tree's to refuse.
            const int bound = soap12 ? versions[kind.key.index] : 3;
            if (bound != 3) {
                out.line("\t\tif(pk->soap_version ", bound == 1 ? "!=" : "==", " 12){");
                chain.reading.write(kind, "\t\t\t", out);
                out.line("\t\t}");
            } else {
                chain.reading.write(kind, "\t\t", out);
            }
        }
        out.line("\t}");
    }
}

// One reading without the whole tree, as the decoder calls it:
// "<proj>_proto_<name>(xml, length, pk, time)" and its kind function
// "<proj>_proto_<name>_kind(reader, cur)".
struct CStreamEntry {
    const char* name;
    const char* readerType;
    const char* readFunction;
    const char* what;                  // what the kind function sets, in its comment
    std::vector<std::string> settings; // the reader's fields beyond its kind, packet and version
};

// The kind function of a reading over the chain, the names its glance
// looks for, and its entry: the packet as it was where the reading leaves
// the message to the tree.
void writeStreamEntry(const CEmitContext& context, const CStreamEntry& entry, const CKindChain& chain, CTextBuffer& out)
{
    const std::string& p = context.proj();
    const std::string kindFunction = p + "_proto_" + entry.name + "_kind";
    const std::string names = p + "_" + entry.name + "_names";
    out.line("//the kind of the message whose Body's first element is cur, and ", entry.what, ":");
    out.line("//0 where the reading takes the message, else 1");
    out.line("static int ", kindFunction, "(", entry.readerType, " *reader, xmlNodePtr cur)");
    out.line("{");
    out.line("\t", p, "_proto_packet_t\t*pk = (", p, "_proto_packet_t *)reader->packet;");
    lines(out, {"", "\tpk->soap_version = mydecode_version(cur->parent);"});
    writeKindChain(context, chain, out);
    lines(out, {"\treturn 1;", "}", ""});
    out.line("//the local names of the Body's first elements whose messages the reading takes");
    out.line("static const char *const ", names, "[] = {");
    for (std::string_view name : chain.names)
        out.line("\t", cStringLiteral(name), ",");
    lines(out, {"\tNULL", "};", ""});
    out.line("//the SOAP message xml[0..length) read without the whole tree where it is a message the reading");
    out.line("//takes (see ", entry.readFunction, "): 0 when it was, else 1 with the packet as it was");
    out.line("static int ", p, "_proto_", entry.name, "(const char *xml, size_t length, ", p,
             "_proto_packet_t *pk, mydecode_time_t *time)");
    out.line("{");
    out.line("\t", entry.readerType, "\treader;");
    lines(out, {"\tunsigned int\tkind = pk->msg_type;", "\tint\tversion = pk->soap_version, result;", "",
                "\tmemset(&reader, 0, sizeof(reader));"});
    out.line("\treader.kind = ", kindFunction, ";");
    out.line("\treader.packet = pk;");
    out.line("\treader.names = ", names, ";");
    // A service with SOAP 1.2 operations reads either envelope.
    out.line("\treader.soap11 = ", bindsSoapVersion(context.view(), 12) ? "0" : "1", ";");
    for (const std::string& setting : entry.settings)
        out.line("\treader.", setting, ";");
    out.line("\tresult = ", entry.readFunction, "(&reader, xml, length, time);");
    out.line("\tif(result != 0){");
    out.line("\t\t", p, "_free_proto_packet(pk);");
    lines(out, {"\t\tmemset(&pk->msg, 0, sizeof(pk->msg));", "\t\tpk->msg_type = kind;", "\t\tpk->soap_version = version;",
                "\t\tpk->decode_error[0] = '\\0';", "\t}", "\treturn result;", "}", ""});
}

// The reading of a message item by item, where the service has messages of
// items: only a message that starts with one of those is read so; any other
// goes to the tree.
bool writeItemStream(const CEmitContext& context, const std::vector<CKindBlock>& kinds, CTextBuffer& out)
{
    const CStreamKinds reading{[&](const CKindBlock& kind) { return !itemRunOf(context, kind).typeName.empty(); },
                               [&](const CKindBlock& kind, const std::string& indent, CTextBuffer& lines) {
                                   writeItemRun(itemRunOf(context, kind), kind.rpc, indent, lines);
                               }};
    const CKindChain chain = kindChain(kinds, reading);
    if (chain.end == 0)
        return false;
    writeFragment(context, CFragment::ItemStream, out);
    out.emptyLine();
    // An encoded message may give any element an id.
    writeStreamEntry(context,
                     {"stream", "mystream_t", "mystream_read", "how the reader reads its items",
                      {"error = pk->decode_error", std::string("encoded = ") + (usesEncoding(context) ? "1" : "0")}},
                     chain, out);
    return true;
}

// Where a kind's message is read straight into its struct: a document
// message of one literal Body part, an element whose type the struct
// stream reads, no soap:header parts. A message of items it reads too, and
// first: it builds no item's tree, so the item stream only gets what the
// struct stream leaves. The index of its type's table; -1 otherwise.
int structRunOf(const CEmitContext& context, const CKindBlock& kind, CStructStream& tables)
{
    if (kind.rpc || kind.side.encoded || !headerParts(kind.side).empty())
        return -1;
    const CViewMessage& message = *kind.side.message;
    if (message.parts.size() != 1 || message.parts.front().refKind != CViewPart::ElementRef)
        return -1;
    const CStructMember* member = messageMember(context.layout().structOf(&message), message.parts.front());
    if (member == nullptr || accessOf(context, member, std::string()).kind != CValueAccess::Decode)
        return -1;
    return tables.add(*member->userType);
}

// The reading of document messages straight into their structs, where the
// service has such messages: only a message that starts with one the
// stream reads is read so; any other goes to the tree.
bool writeStructStream(const CEmitContext& context, const std::vector<CKindBlock>& kinds, CTextBuffer& out)
{
    CStructStream tables(context);
    // Every table is added while the kinds are taken, before the tables are written.
    const CStreamKinds reading{
        [&](const CKindBlock& kind) { return structRunOf(context, kind, tables) >= 0; },
        [&](const CKindBlock& kind, const std::string& indent, CTextBuffer& lines) {
            const CViewMessage& message = *kind.side.message;
            const CStructMember* member = messageMember(context.layout().structOf(&message), message.parts.front());
            lines.line(indent, "return mysax_struct(reader, ", std::to_string(structRunOf(context, kind, tables)),
                       ", &pk->msg.", message.cName, ".", member->cName, ");");
        }};
    const CKindChain chain = kindChain(kinds, reading);
    if (chain.end == 0)
        return false;
    tables.write(out);
    writeStreamEntry(context,
                     {"struct_stream", "mysax_t", "mysax_read", "the struct the reading fills",
                      {"types = mysax_types", "members = mysax_members", "namespaces = mydecode_namespaces"}},
                     chain, out);
    return true;
}

// The messages that stand in an empty Body, per direction (requests, then
// responses), each with the soapActions of its operations (one per binding
// that sends it with an action of its own) and the SOAP versions it is bound
// in (bit 1: 1.1, bit 2: 1.2).
struct CEmptyBody {
    std::string id;
    std::vector<std::string> actions;
    int versions = 0;
};

std::vector<std::vector<CEmptyBody>> emptyBodies(const CEmitContext& context)
{
    std::vector<std::vector<CEmptyBody>> bodies(2);
    std::map<std::size_t, std::pair<std::size_t, std::size_t>> placed; // key index -> direction, position
    forEachBoundMessage(context.view(), [&](const CViewPortType&, const CViewOperation& operation, int direction,
                                            const CViewDirection&) {
        for (const CMessageKey* key : context.keys().keysOf(operation, direction)) {
            if (!key->emptyBody())
                continue;
            const auto at = placed.try_emplace(key->index, static_cast<std::size_t>(direction),
                                               bodies[static_cast<std::size_t>(direction)].size());
            if (at.second)
                bodies[at.first->second.first].push_back(CEmptyBody{context.projUpper() + "_PROTO_" + std::string(key->id), {}, 0});
            CEmptyBody& body = bodies[at.first->second.first][at.first->second.second];
            const std::string action(operation.soapAction);
            if (std::find(body.actions.begin(), body.actions.end(), action) == body.actions.end())
                body.actions.push_back(action);
            body.versions |= operation.soapVersion == 12 ? 2 : 1;
        }
    });
    return bodies;
}

bool needsActionTest(const std::vector<std::vector<CEmptyBody>>& bodies)
{
    return bodies[0].size() > 1 || bodies[1].size() > 1;
}

// The test that an empty Body's action names a candidate: any of its actions.
std::string actionTest(const CEmptyBody& candidate)
{
    std::string test;
    for (const std::string& action : candidate.actions)
        test.append(test.empty() ? "" : " || ").append("mydecode_action(buffer, header_end, " + cStringLiteral(action) + ")");
    return test;
}

// In a service of both SOAP versions, an empty Body of a kind that only
// operations of the other version take is a version mismatch, as any other
// message is: "pk->msg_type == A || ..." for the kinds of one version only.
void writeEmptyVersionTest(const std::vector<CEmptyBody>& candidates, CTextBuffer& out)
{
    std::string only[2]; // kinds bound in SOAP 1.1 alone, in SOAP 1.2 alone
    for (const CEmptyBody& candidate : candidates) {
        if (candidate.versions == 1 || candidate.versions == 2) {
            std::string& kinds = only[candidate.versions - 1];
            kinds.append(kinds.empty() ? "" : " || ").append("pk->msg_type == " + candidate.id);
        }
    }
    std::string test;
    if (!only[0].empty())
        test = "(pk->soap_version == 12 && (" + only[0] + "))";
    if (!only[1].empty())
        test.append(test.empty() ? "" : " || ").append("(pk->soap_version != 12 && (" + only[1] + "))");
    if (test.empty())
        return;
    out.line("\t\t\t\tif(", test, "){");
    out.line("\t\t\t\t\tpk->decode_fault = \"SOAP-ENV:VersionMismatch\";");
    out.line("\t\t\t\t\tresult = mydecode_fail_at(doc, \"no operation of the message's SOAP version takes an empty Body\", NULL);");
    out.line("\t\t\t\t\tgoto over;");
    out.line("\t\t\t\t}");
}

// Which message an empty Body is: a request (the first line is no status
// line) or a response of an operation whose message stands so; among
// several the one whose soapAction the SOAPAction line (SOAP 1.2: the
// action parameter) names, else the first of the message's SOAP version.
void writeEmptyBody(const CEmitContext& context, CTextBuffer& out)
{
    const std::vector<std::vector<CEmptyBody>> bodies = emptyBodies(context);
    const bool soap12 = bindsSoapVersion(context.view(), 12);
    for (std::size_t direction = 0; direction < 2; ++direction) {
        const std::vector<CEmptyBody>& candidates = bodies[direction];
        if (candidates.empty())
            continue;
        out.line(std::string("\t\t\tif(cur == NULL && strncmp(buffer, \"HTTP\", 4) ") + (direction == 0 ? "!=" : "==") +
                 " 0){");
        const std::string indent = candidates.size() > 1 ? "\t\t\t\t\t" : "\t\t\t\t";
        for (std::size_t i = 0; candidates.size() > 1 && i < candidates.size(); ++i) {
            out.line("\t\t\t\t" + std::string(i > 0 ? "else " : "") + "if(" + actionTest(candidates[i]) + ")");
            out.line(indent, "pk->msg_type = ", candidates[i].id, ";");
        }
        const auto first12 = std::find_if(candidates.begin(), candidates.end(),
                                          [](const CEmptyBody& candidate) { return (candidate.versions & 2) != 0; });
        if (candidates.size() > 1 && first12 != candidates.end() && first12->id != candidates.front().id) {
            out.line("\t\t\t\telse if(pk->soap_version == 12)");
            out.line(indent, "pk->msg_type = ", first12->id, ";");
        }
        if (candidates.size() > 1)
            out.line("\t\t\t\telse");
        out.line(indent, "pk->msg_type = ", candidates.front().id, ";");
        if (soap12)
            writeEmptyVersionTest(candidates, out);
        out.line("\t\t\t\tgoto over;");
        out.line("\t\t\t}");
    }
}

// A fixed message kind: the header's enumeration has it only when the
// service has operations.
std::string fixedKind(const CEmitContext& context, const std::string& kind, const char* value)
{
    return context.keys().hasOperations() ? context.projUpper() + "_PROTO_" + kind : std::string(value);
}

// Whether the decoder reads some messages without the whole tree (item by
// item, or straight into their structs).
bool writeDecoderHead(const CEmitContext& context, const std::vector<CKindBlock>& kinds, CTextBuffer& out)
{
    const std::string& p = context.proj();
    writeFragment(context, CFragment::EnvelopeReader, out);
    writeFragment(context, CFragment::MtomReader, out);
    writeWsSecurityReader(context, out);
    writeFragment(context, CFragment::WsaReader, out);
    out.emptyLine();
    if (needsActionTest(emptyBodies(context))) {
        // The line is read in the head as it came: a packet keeps only the
        // first few header lines, each cut at its length.
        const bool soap12 = bindsSoapVersion(context.view(), 12);
        out.line("//whether the SOAPAction line of the head (its first head_len bytes) names action, whole");
        out.line(soap12 ? "//(blanks and quotes around it aside), or the action parameter of its Content-Type"
                        : "//(blanks and quotes around it aside)");
        out.line("static int mydecode_action(const char *head, size_t head_len, const char *action)");
        lines(out, {"{", soap12 ? "\tsize_t\t\tlength = strlen(action), param_len;" : "\tsize_t\t\tlength = strlen(action);",
                    "\tconst char\t*line, *next, *value, *end;", "",
                    "\tfor(line = head; line < head + head_len; line = next){",
                    "\t\tnext = (const char *)memchr(line, '\\n', (size_t)(head + head_len - line));",
                    "\t\tnext = next == NULL ? head + head_len : next + 1;"});
        if (soap12)
            lines(out, {"\t\tif((size_t)(next - line) > 13 && xmlStrncasecmp((const xmlChar *)line, (const xmlChar *)\"Content-Type:\", 13) == 0){",
                        "\t\t\tfor(end = next; end > line + 13 && (end[-1] == '\\r' || end[-1] == '\\n'); end--)", "\t\t\t\t;",
                        "\t\t\tvalue = mydecode_param(line + 13, (size_t)(end - line - 13), \"action\", &param_len);",
                        "\t\t\tif(value != NULL && param_len == length && strncmp(value, action, length) == 0)",
                        "\t\t\t\treturn 1;", "\t\t}"});
        lines(out, {
                    "\t\tif((size_t)(next - line) < 11 || xmlStrncasecmp((const xmlChar *)line, (const xmlChar *)\"SOAPAction:\", 11) != 0)",
                    "\t\t\tcontinue;", "\t\tvalue = line + 11;", "\t\tend = next;",
                    "\t\twhile(value < end && (*value == ' ' || *value == '\\t' || *value == '\"'))", "\t\t\tvalue++;",
                    "\t\twhile(end > value && strchr(\" \\t\\r\\n\\\"\", end[-1]) != NULL)", "\t\t\tend--;",
                    "\t\tif((size_t)(end - value) == length && strncmp(value, action, length) == 0)", "\t\t\treturn 1;",
                    "\t}", "\treturn 0;", "}", ""});
    }
    const bool structStreamed = writeStructStream(context, kinds, out);
    const bool itemStreamed = writeItemStream(context, kinds, out);
    lines(out, {"//the SOAP message of one HTTP message: the envelope is found by parsing the body",
                "//(or its multipart root part) whole; its bytes behind the envelope are the attachment. The",
                "//parse ends by the call's deadline (negative: none) or sooner (KVPROJ_MAX_DECODE_USEC). A",
                "//buffer the caller hands on (room, else NULL) may give a XOP package's largest part to its value"});
    out.line("static int ", p, "_proto_decoder(char *buffer, ", p, "_proto_packet_t *pk, tessaro_size_t buffer_len, tessaro_usec_t deadline, ",
             "struct mymtom_room_t *room)");
    lines(out, {"{", "\tint result = 0;", "\tsize_t\t\theader_end, xml_beg, part_end, root_end, attach_beg, i;",
                "\txmlDocPtr\tdoc;", "\txmlNodePtr\tcur, header = NULL, body = NULL;", "\txmlChar\t\t*key = NULL;",
                "\tconst char\t*why = NULL;", "\tint\t\treferences = 0;", "\tmymtom_package_t\tpackage;", "\tmydecode_time_t\ttime;", "",
                "\theader_end = mydecode_find(buffer, 0, buffer_len, \"\\r\\n\\r\\n\", 4);",
                "\tif(header_end == buffer_len)", "\t\treturn -1;"});
    out.line("\tpk->msg_direction = strncmp(buffer, \"HTTP\", 4) == 0 ? " + context.directionConstant(1) + " : " +
             context.directionConstant(0) + ";");
    lines(out, {
                "\tif(mydecode_locate(buffer, header_end, buffer_len, &xml_beg, &part_end, &why) != 0){",
                "\t\tsnprintf(pk->decode_error, sizeof(pk->decode_error), \"%s\", why);", "\t\treturn -1;", "\t}",
                "\tmydecode_copy(pk->boundary_part, sizeof(pk->boundary_part), buffer + header_end + 4, xml_beg - header_end - 4);",
                "\t//markup that would make the parse dear is refused before it",
                "\tif(mydecode_within_bounds(buffer + xml_beg, part_end - xml_beg, pk->decode_error, sizeof(pk->decode_error)) != 0){",
                "\t\tpk->decode_fault = \"SOAP-ENV:Client\";", "\t\treturn -1;", "\t}",
                "\t//a XOP package's binary parts are found before its root is read, and kept where they lie",
                "\tif(mymtom_read(buffer, header_end, buffer_len, xml_beg, &package, pk->decode_error, sizeof(pk->decode_error)) != 0){",
                "\t\tmymtom_free(&package);", "\t\tpk->decode_fault = \"SOAP-ENV:Client\";", "\t\treturn -1;", "\t}",
                "\tmydecode_time_start(&time, deadline);", ""});
    if (structStreamed) {
        out.line("\t//a document message of structs is read straight into them, without the tree");
        out.line("\tif(!package.xop && ", p, "_proto_struct_stream(buffer + xml_beg, part_end - xml_beg, pk, &time) == 0){");
        lines(out, {"\t\troot_end = part_end - xml_beg;", "\t\tgoto attachment;", "\t}"});
    }
    if (itemStreamed) {
        out.line("\t//a message of items the struct reading left is read item by item, without the whole tree");
        out.line("\tif(!package.xop && ", p, "_proto_stream(buffer + xml_beg, part_end - xml_beg, pk, &time) == 0){");
        lines(out, {"\t\troot_end = part_end - xml_beg;", "\t\tgoto attachment;", "\t}"});
    }
    lines(out, {"\txmlResetLastError();", "\tdoc = mydecode_parse(buffer + xml_beg, part_end - xml_beg, &time, &root_end, &references);",
                "\tif(doc == NULL){",
                "\t\tif(mydecode_late(&time, pk->decode_error, sizeof(pk->decode_error)) == 0)",
                "\t\t\tmydecode_parse_failure(pk->decode_error, sizeof(pk->decode_error), part_end - xml_beg);",
                "\t\tmymtom_free(&package);", "\t\tpk->decode_fault = \"SOAP-ENV:Client\";", "\t\treturn -1;", "\t}",
                "\t//where a value that fails says which member it is",
                "\tdoc->_private = pk->decode_error;",
                "\t//the elements a package's xop:Include elements stand in hold their parts",
                "\tif(package.xop && mymtom_include(doc, &package) != 0){", "\t\tresult = -1;", "\t\tgoto over;", "\t}",
                "\t//the message then holds only what lies in front of that part",
                "\tif(package.xop && room != NULL){", "\t\tmymtom_in_place(&package, room, part_end);", "\t\tbuffer = room->text;",
                "\t\tbuffer_len = room->length;", "\t}", "",
                "\t//an Envelope of the SOAP 1.1 or SOAP 1.2 namespace, whatever its prefix; an Envelope of",
                "\t//another namespace is of a version this node does not speak",
                "\tcur = xmlDocGetRootElement(doc);", "\tpk->soap_version = mydecode_version(cur);"});
    // A service without SOAP 1.2 operations speaks SOAP 1.1 alone.
    const bool soap12 = bindsSoapVersion(context.view(), 12);
    const std::string noEnvelope = soap12 ? "\"the root element is no SOAP 1.1 or SOAP 1.2 Envelope:\""
                                          : "\"the root element is no SOAP 1.1 Envelope:\"";
    out.line("\tif(cur != NULL && !xmlStrcmp(cur->name, (const xmlChar *)\"Envelope\") && ",
             soap12 ? "pk->soap_version == 0" : "pk->soap_version != 11", "){");
    lines(out, {"\t\tpk->decode_fault = \"SOAP-ENV:VersionMismatch\";"});
    out.line("\t\tresult = mydecode_fail_at(doc, ", noEnvelope, ", cur);");
    lines(out, {"\t\tgoto over;", "\t}", "\tif(!mydecode_is_soap(cur, \"Envelope\")){"});
    out.line("\t\tresult = mydecode_fail_at(doc, ", noEnvelope, ", cur);");
    lines(out, {
                "\t\tgoto over;", "\t}", "",
                "\tfor(cur = mydecode_element(cur->xmlChildrenNode); cur != NULL; cur = mydecode_element(cur->next))",
                "\t{", "\t\tif(mydecode_is_soap(cur, \"Header\")){", "\t\t\theader = cur;",
                "\t\t\tcur = cur->xmlChildrenNode;"});
    return itemStreamed || structStreamed;
}

// streamed: a message read without the whole tree goes on at its attachment.
void writeDecoderBody(const CEmitContext& context, const std::vector<CKindBlock>& kinds, bool streamed, CTextBuffer& out)
{
    const std::string& P = context.projUpper();
    writeHeaderRun(context, out);
    lines(out, {"", "\t\t\tcur = header;", "", "\t\t}else if(mydecode_is_soap(cur, \"Body\")){"});
    if (usesEncoding(context)) {
        out.line("\t\t\t//values by reference stand where they are referred to (the parse saw whether any may)");
        lines(out, {"\t\t\tif(references && mydecode_resolve(doc, cur, part_end - xml_beg) != 0){", "\t\t\t\tresult = -1;", "\t\t\t\tgoto over;", "\t\t\t}"});
    }
    lines(out, {"\t\t\tbody = cur;", "\t\t\tcur = mydecode_element(cur->xmlChildrenNode);"});
    writeEmptyBody(context, out);
    lines(out, {"\t\t\twhile (cur != NULL)", "\t\t\t{"});
    writeMessageRun(context, kinds, out);
    out.line("\t\t\t\tif(mydecode_is_soap(cur, ", P, "_SOAP_FAULT_TAG)){");
    out.line("\t\t\t\t\tpk->msg_type = ", fixedKind(context, "SOAP_FAULT", "0x2"), ";");
    lines(out, {"\t\t\t\t\tif(pk->soap_version == 12)", "\t\t\t\t\t\tresult = mydecode_fault12(cur, &pk->msg.soap_fault, mydecode_fault_detail);",
                "\t\t\t\t\telse",
                "\t\t\t\t\t\tresult = decode_soap_fault_msg_t(doc, cur, &pk->msg.soap_fault);", "\t\t\t\t\tgoto over;",
                "\t\t\t\t}", "", "\t\t\t\tcur = mydecode_element(cur->next);", "\t\t\t}",
                "\t\t\tcur = mydecode_element(body->xmlChildrenNode);",
                "\t\t\tresult = mydecode_fail_at(doc, cur != NULL ? \"the Body holds no message of the service and no Fault, but\" : \"the Body is empty\", cur);",
                "\t\t\tgoto over;", "\t\t}", "\t}", "\tresult = mydecode_fail_at(doc, \"the Envelope holds no Body\", NULL);", "over:",
                "\tif(key != NULL)", "\t\txmlFree(key);", "\txmlFreeDoc(doc);", "\tmymtom_free(&package);", "",
                "\t//a message that does not decode is the sender's fault, unless a header said otherwise",
                "\tif(result != 0 && pk->decode_fault == NULL)", "\t\tpk->decode_fault = \"SOAP-ENV:Client\";",
                "\tif(result != 0)", "\t\treturn result;", ""});
    if (streamed)
        out.line("attachment:");
    lines(out, {"\t//the bytes behind the envelope, unless they are only blanks up to the part's end",
                "\tattach_beg = root_end < part_end - xml_beg ? xml_beg + root_end : part_end;",
                "\tfor(i = attach_beg; i < part_end; i++){",
                "\t\tif(buffer[i] != ' ' && buffer[i] != '\\t' && buffer[i] != '\\r' && buffer[i] != '\\n')",
                "\t\t\tbreak;", "\t}", "\tif(i == part_end)", "\t\tattach_beg = part_end;",
                "\t//the CR LF a sender puts between the envelope and the attachment is not the attachment's",
                "\telse if(attach_beg + 1 < buffer_len && buffer[attach_beg] == '\\r' && buffer[attach_beg + 1] == '\\n')",
                "\t\tattach_beg += 2;",
                "\t//a package's parts are its values', none an attachment",
                "\tif(package.xop)", "\t\tattach_beg = buffer_len;",
                "\tif(attach_beg < buffer_len){", "\t\t//there is a attachment",
                "\t\tpk->attachment = (char*)malloc(buffer_len - attach_beg + 1);", "\t\tif(pk->attachment){",
                "\t\t\tmemcpy(pk->attachment, buffer + attach_beg, buffer_len - attach_beg);",
                "\t\t\tpk->attachment[buffer_len - attach_beg] = '\\0';",
                "\t\t\tpk->attachment_length = (int)(buffer_len - attach_beg);", "\t\t}", "\t}", "", "\treturn result;",
                "}", ""});
}

// The header lines and the status of a message, then its SOAP message. A
// fault is decoded whatever the status; any other answer with a status
// other than 200 is kept as an HTTP message.
void writeUnpack(const CEmitContext& context, CTextBuffer& out)
{
    const std::string& p = context.proj();
    const std::string& P = context.projUpper();
    out.line("//the header lines of a message, at most ", P, "_MAX_HTTP_HEADER_NUM; -1 when it has no first line");
    out.line("static int ", p, "_proto_headers(char *buffer, ", p, "_proto_packet_t *pk)");
    lines(out, {"{", "\tint i = 0;", "\tchar *beginindex, *endindex, *lineend, *valueend;", "",
                "\tbeginindex = strstr(buffer, \"\\r\\n\");", "\tif(beginindex == NULL)", "\t\treturn -1;",
                "\tbeginindex += 2;", ""});
    out.line("\tfor(i = 0; i < ", P, "_MAX_HTTP_HEADER_NUM; i++){");
    lines(out, {"\t\tif(*(beginindex) == '\\r' && *(beginindex+1) == '\\n'){", "\t\t\tbreak;", "\t\t}", "",
                "\t\t//a line without a colon before its end ends the header lines",
                "\t\tendindex = strstr(beginindex, \":\");", "\t\tlineend = strstr(beginindex, \"\\r\\n\");",
                "\t\tif(endindex == NULL || lineend == NULL || endindex > lineend)", "\t\t\tbreak;",
                "\t\tmydecode_copy(pk->http_headers[i].name, sizeof(pk->http_headers[i].name), beginindex, endindex - beginindex);",
                "\t\t//the value without the blanks around it and without the line's end",
                "\t\tfor(endindex++; endindex < lineend && (*endindex == ' ' || *endindex == '\\t'); endindex++)", "\t\t\t;",
                "\t\tfor(valueend = lineend; valueend > endindex && (valueend[-1] == ' ' || valueend[-1] == '\\t'); valueend--)",
                "\t\t\t;",
                "\t\tmydecode_copy(pk->http_headers[i].value, sizeof(pk->http_headers[i].value), endindex, valueend - endindex);",
                "\t\tbeginindex = lineend + 2;", "\t\tpk->http_headers_count++;", "\t}", "\treturn 0;", "}", ""});

    out.line("//the message buffer[0..buffer_len) into pk, its SOAP message decoded by the deadline (negative: none);");
    out.line("//room as the decoder takes it");
    out.line("static int ", p, "_proto_unpack_by(char *buffer, tessaro_size_t buffer_len, ", p,
             "_proto_packet_t *pk, tessaro_usec_t deadline, struct mymtom_room_t *room)");
    lines(out, {"{", "\tint resp_code, result;", "\tchar temp[10];", "\tchar *beginindex, *endindex;"});
    out.line("\tchar why[", P, "_MAX_DECODE_ERROR_LEN+1];");
    lines(out, {"",
                "\tbeginindex = strstr(buffer, \" \");", "\tif(beginindex == NULL)", "\t\treturn -1;",
                "\tendindex = strstr(beginindex+1, \" \");", "\tif(endindex == NULL)", "\t\treturn -1;", "",
                "\tif(strncmp(buffer, \"HTTP\", 4) == 0){",
                "\t\tmydecode_copy(temp, sizeof(temp), beginindex, endindex - beginindex);", "",
                "\t\tresp_code = strtoul(temp, NULL, 10);", "", "\t\tif(resp_code != 200){",
                "\t\t\t//a SOAP fault comes with any status, 500 as a rule"});
    out.line("\t\t\tresult = " + p + "_proto_decoder(buffer, pk, buffer_len, deadline, room);");
    out.line("\t\t\tif(room != NULL)");
    out.line("\t\t\t\tbuffer = room->text;");
    out.line("\t\t\tif(result == 0 && pk->msg_type == " + fixedKind(context, "SOAP_FAULT", "0x2") + ")");
    out.line("\t\t\t\treturn ", p, "_proto_headers(buffer, pk);");
    out.line("\t\t\t//why the body is no fault stays beside the status");
    out.line("\t\t\tmemcpy(why, pk->decode_error, sizeof(why));");
    out.line("\t\t\t", p, "_free_proto_packet(pk);");
    out.line("\t\t\tmemset(pk, 0, sizeof(", p, "_proto_packet_t));");
    out.line("\t\t\tmemcpy(pk->decode_error, why, sizeof(why));");
    out.line("\t\t\tpk->msg_type = ", fixedKind(context, "HTTP", "0x1"), ";");
    out.line("\t\t\tpk->msg_direction = ", context.directionConstant(1), ";");
    lines(out, {"\t\t\tpk->msg.http_msg.err_code = resp_code;", "\t\t\tbeginindex = strstr(endindex, \"\\r\\n\");",
                "\t\t\tif(beginindex == NULL)", "\t\t\t\treturn -1;",
                "\t\t\tmydecode_copy(pk->msg.http_msg.err_code_string, sizeof(pk->msg.http_msg.err_code_string), endindex + 1, beginindex - endindex);",
                "\t\t\tmydecode_copy(pk->msg.http_msg.buffer, sizeof(pk->msg.http_msg.buffer), buffer, strlen(buffer));"});
    out.line("\t\t\treturn ", p, "_proto_headers(buffer, pk);");
    lines(out, {"\t\t}", "\t}", ""});
    out.line("\tif(", p, "_proto_headers(buffer, pk) != 0)");
    out.line("\t\treturn -1;");
    out.line("\treturn ", p, "_proto_decoder(buffer, pk, buffer_len, deadline, room);");
    lines(out, {"}", ""});
    out.line("static int ", p, "_proto_unpack(char *buffer, tessaro_size_t buffer_len, ", p, "_proto_packet_t *pk) ", P,
             "_MAYBE_UNUSED;");
    out.line("static int ", p, "_proto_unpack(char *buffer, tessaro_size_t buffer_len, ", p, "_proto_packet_t *pk)");
    lines(out, {"{"});
    out.line("\treturn ", p, "_proto_unpack_by(buffer, buffer_len, pk, -1, NULL);");
    lines(out, {"}", ""});
}

void writeReadPacket(const CEmitContext& context, CTextBuffer& out)
{
    const std::string& p = context.proj();
    const std::string& P = context.projUpper();
    writeUnpack(context, out);
    out.line("//reads a message whose first line is of the kind expected (HTTP_EXPECT_...) into pk");
    out.line("static int http_read_message(", p, "_proto_trans_t *trans, ", p, "_proto_packet_t *pk, int timeout, int expect)");
    lines(out, {"{", "\tint result = 0;", "\tint refused = 0;"});
    out.line("\t//on the heap, growing while the message comes, up to ", P, "_MAX_READ_MESSAGE_LEN bytes");
    out.line("\thttp_buffer_t message = {NULL, 0, (trans->max_read > 0 && trans->max_read < ", P, "_MAX_READ_MESSAGE_LEN ? trans->max_read : ", P,
             "_MAX_READ_MESSAGE_LEN) + 1, 0, HTTP_EXPECT_EITHER};");
    lines(out, {"\ttessaro_size_t buffer_len = 0;", "\tstruct mymtom_room_t room;",
                "\t//decoding counts against the call's time-out too",
                "\ttessaro_usec_t deadline = timeout < 0 ? -1 : tessaro_clock_usec() + (tessaro_usec_t)timeout*TESSARO_USEC_PER_SEC;", ""});
    out.line("\tmessage.expect = expect;");
    out.line("\tmemset(pk, 0, sizeof(", p, "_proto_packet_t));");
    out.line("\t//the transport's WS-Security settings process the message's Security header, and go with an answer sent from the packet");
    out.line("\tpk->wsse = trans->wsse;");
    out.line("\tpk->understood = trans->understood;");
    out.line("\thttp_adopt(trans, &message, &buffer_len);");
    out.line("\tresult = read_packet(trans, &message, &buffer_len, timeout, &refused);");
    lines(out, {"\t//the transport keeps what stopped the reading (the message's time-out passes between receives)",
                "\tif(result != 0 && refused == 0)", "\t\ttrans->failure = result;", "\tif(result == 0)"});
    lines(out, {"\t{", "\t\troom.text = message.text;", "\t\troom.length = buffer_len;", "\t\troom.size = message.size;",
                "\t\t//a message whose Security header is checked after stays as it came; another may hand a binary",
                "\t\t//part's room on to its value"});
    out.line("\t\tresult = ", p, "_proto_unpack_by(message.text, buffer_len, pk, deadline, trans->wsse == NULL ? &room : NULL);");
    lines(out, {"\t\tmessage.text = room.text;", "\t\tmessage.size = room.size;", "\t\tbuffer_len = room.length;", "\t}"});
    out.line("\ttrans->wsse_result = 0;");
    out.line("\tif(result == 0)");
    out.line("\t\tresult = ", p, "_wsse_check(trans, message.text, buffer_len, pk);");
    lines(out, {"\t//what came with the message is not sent back when the packet carries the answer",
                "\tpk->http_headers_received = pk->http_headers_count;",
                "\tpk->boundary_received = pk->boundary_part[0] != '\\0';",
                "\t//a request refused for its HTTP form holds the answer it deserves"});
    out.line("\tif(refused != 0 && http_refusal_answer(pk, &message, refused))");
    out.line("\t\tpk->msg_type = ", fixedKind(context, "HTTP", "0x1"), ";");
    out.line("\tfree(message.text);");
    out.line("\t//a message that fails keeps nothing the decoder allocated");
    out.line("\tif(result != 0)");
    out.line("\t\t", p, "_free_proto_packet(pk);");
    lines(out, {"\treturn result != 0 ? -1 : 0;", "}", ""});
    out.line("//a server's reading: a message whose first line is no request line is refused, and pk holds its answer");
    out.line("static int http_read_request(", p, "_proto_trans_t *trans, ", p, "_proto_packet_t *pk, int timeout) ", P,
             "_MAYBE_UNUSED;");
    out.line("static int http_read_request(", p, "_proto_trans_t *trans, ", p, "_proto_packet_t *pk, int timeout)");
    lines(out, {"{", "\treturn http_read_message(trans, pk, timeout, HTTP_EXPECT_REQUEST);", "}", ""});
    out.line("//a transport connected to an address (its url set) reads answers; one of unknown side either kind");
    out.line(exportedDefinitionHead(p, CExportedFunction::ReadPacket));
    lines(out, {"{", "\treturn http_read_message(trans, pk, timeout, trans->url[0] != '\\0' ? HTTP_EXPECT_ANSWER : HTTP_EXPECT_EITHER);",
                "}"});
}

} // namespace

void writeMatchedPart(const CEmitContext& context, const CStructMember& member, const std::string& access,
                      const std::string& indent, CTextBuffer& out)
{
    if (member.part != nullptr)
        writeBlock(accessOf(context, &member, access), partElement(*member.part, member.xmlName), BlockMode::Matched,
                   indent, out);
}

void writePacketDecoder(const CEmitContext& context, CTextBuffer& source)
{
    const std::vector<CKindBlock> kinds = kindBlocks(context);
    const bool streamed = writeDecoderHead(context, kinds, source);
    writeDecoderBody(context, kinds, streamed, source);
    writeReadPacket(context, source);
}
