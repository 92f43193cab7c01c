#include "generator/emit/PrintFunctions.h"

#include "generator/model/EmitContext.h"
#include "generator/model/NameForms.h"
#include "generator/model/OperationWalk.h"
#include "generator/emit/ExportedFunctions.h"
#include "generator/emit/MemberKinds.h"
#include "generator/emit/MetIndexes.h"
#include "generator/emit/TextBuffer.h"

#include <set>
#include <unordered_map>

namespace {

const std::string Slashes(76, '/');

// A name as printf shows it, into text: inside the format string, so '%' is doubled.
void label(std::string_view name, std::string& text)
{
    text.clear();
    appendStringBody(name, text);
    for (std::size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 2))
        text.insert(at, 1, '%');
}

// The parameter is named after the struct, unless that name would hide
// what the body calls.
std::string_view parameterName(std::string_view name)
{
    return name == "printf" || name == "i" ? std::string_view("value") : name;
}

// The struct whose print function the member's line calls; null when it
// calls none (an element of a built-in type is printed in place).
const CStructDef* calledStruct(const CStructMember& member)
{
    const bool elementValue = member.kind == CStructMember::Struct && member.userType == nullptr;
    if ((member.kind != CStructMember::Struct && member.kind != CStructMember::StructArray) || elementValue)
        return nullptr;
    return member.target;
}

// What one port type's part of the packet's print function has printed:
// header members by "<message>:<part>", message kinds by key index. A key
// spelt as a printed header's name counts as printed too (one set of both
// names once had it so).
struct CPrinted {
    std::set<std::string, std::less<>> headers;
    CMetIndexes kinds;

    bool firstTime(const CMessageKey& key)
    {
        if (!headers.empty() && headers.count(key.key) != 0)
            return false;
        return kinds.firstTime(key.index);
    }
};

// Whether an operation of the port type is bound and carries a soap:header.
bool hasBoundHeader(const CViewPortType& portType)
{
    for (const CViewOperation& operation : portType.operations) {
        if (operation.soapBound && (operation.in.header.part() != nullptr || operation.out.header.part() != nullptr))
            return true;
    }
    return false;
}

class CPrintWriter : public CMemberPrinter {
public:
    CPrintWriter(const CEmitContext& context, CTextBuffer& out)
        : context_(context), layout_(context.layout()), out_(out)
    {
    }

    void writeTypesAndElements()
    {
        listCalledStructs();
        std::vector<const CStructDef*> order = functionOrder();
        writeForwardDeclarations(order);
        for (const CStructDef* def : order)
            writeStructFunction(*def);
    }

    void writeMessages()
    {
        forEachPrintedMessage([&](const CStructDef& def, std::string_view name) {
            const std::string_view param = parameterName(name);
            writeHead(def.name, param);
            const std::size_t before = out_.size();
            const std::string owner = std::string(param) + "->";
            for (const CStructMember& member : def.members)
                writeMember(member, owner, name, "\t");
            unreadParameter(before, param);
            out_.line("}");
            out_.emptyLine();
        });
    }

    // The prototypes of the functions writeTypesAndElements and
    // writeMessages define, for the header.
    void writeDeclarations()
    {
        listCalledStructs();
        for (const CStructDef* def : functionOrder())
            writeSignature(def->name, "value", ";");
        forEachPrintedMessage([&](const CStructDef& def, std::string_view) { writeSignature(def.name, "value", ";"); });
    }

    void writePacket()
    {
        const std::string& p = context_.proj();
        out_.line(exportedDefinitionHead(p, CExportedFunction::PrintPacket));
        out_.line("{");
        out_.line("\tprintf(\"msg_type:%u\\n\",pk->msg_type);");
        out_.emptyLine();
        for (const CViewPortType& portType : context_.view().portTypes()) {
            CPrinted done;
            writeHeaderLines(portType, done);
            out_.emptyLine();
            for (const CViewOperation& operation : portType.operations) {
                if (operation.soapBound)
                    writeDispatch(operation, portType.secondVersion, done);
            }
        }
        out_.line("}");
        out_.emptyLine();
    }

private:
    void listCalledStructs()
    {
        const auto scan = [&](const std::vector<CStructMember>& members) {
            for (const CStructMember& member : members) {
                if (const CStructDef* called = calledStruct(member))
                    called_.firstTime(called->index);
            }
        };
        for (const CStructDef* def : layout_.typeStructs())
            scan(def->members);
        for (const CStructDef* def : layout_.messageStructs())
            scan(def->members);
        scan(layout_.headerMembers());
    }

    bool called(const CStructDef* def) const { return called_.met(def->index); }

    // Each struct of a bound operation's message once, with the message's name.
    template <typename Visit>
    void forEachPrintedMessage(Visit visit) const
    {
        CMetIndexes done; // by struct index: a message's struct is its own
        forEachBoundMessage(context_.view(), [&](const CViewPortType&, const CViewOperation&, int,
                                                 const CViewDirection& side) {
            const CStructDef* def = layout_.structOf(side.message);
            if (def != nullptr && done.firstTime(def->index))
                visit(*def, std::string_view(side.message->cName));
        });
    }

    // Per schema its types in table order, then its elements; a struct that
    // something calls always gets its function, the others as the model
    // asks (simple and structured types, elements of a built-in or a
    // structured type). Structs only members reach come last.
    std::vector<const CStructDef*> functionOrder() const
    {
        std::vector<const CStructDef*> order;
        CMetIndexes listed;
        const auto add = [&](const CStructDef* def, bool wanted) {
            if (def != nullptr && (wanted || called(def)) && listed.firstTime(def->index))
                order.push_back(def);
        };
        for (const CViewSchema& schema : context_.view().schemas()) {
            for (const CViewType* type : schema.types) {
                const CStructDef* def = layout_.structOf(type);
                if (type != nullptr && def != nullptr && def->kind == CStructDef::TypeStruct)
                    add(def, type->simple || type->isStructured());
            }
            for (const CViewElement* element : schema.elements) {
                if (!element->type.isKnown())
                    continue;
                const CViewType* type = element->type.user;
                add(layout_.structOf(element), type == nullptr || type->isStructured());
            }
        }
        for (const CStructDef* def : layout_.typeStructs())
            add(def, false);
        return order;
    }

    // A function called before it is written is declared here (most
    // element functions are declared with the statics already; declaring
    // one twice is harmless).
    void writeForwardDeclarations(const std::vector<const CStructDef*>& order)
    {
        // By struct index: its place in the order (0 for a struct not in it).
        std::vector<std::size_t> position;
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (order[i]->index >= position.size())
                position.resize(std::max(order[i]->index + 1, 2 * position.size()));
            position[order[i]->index] = i;
        }
        CMetIndexes declared;
        for (std::size_t i = 0; i < order.size(); ++i) {
            for (const CStructMember& member : order[i]->heldMembers()) {
                const CStructDef* target = calledStruct(member);
                if (target == nullptr || (target->index < position.size() ? position[target->index] : 0) <= i ||
                    !declared.firstTime(target->index))
                    continue;
                writeSignature(target->name, "value", ";");
            }
        }
    }

    // A function that printed nothing since before leaves its parameter unread.
    void unreadParameter(std::size_t before, std::string_view param)
    {
        if (out_.size() == before)
            out_.line("\t(void)", param, ";");
    }

    void writeStructFunction(const CStructDef& def)
    {
        const std::string_view param = parameterName(def.name);
        writeHead(def.name, param);
        const std::vector<CStructMember>& members = def.heldMembers();
        for (const CStructMember& member : members) {
            if (member.isArray()) {
                out_.line("\tint i = 0;");
                out_.emptyLine();
                break;
            }
        }
        const std::string_view typeLabel = def.type != nullptr ? std::string_view(def.type->name) : def.name;
        const std::size_t before = out_.size();
        const std::string owner = std::string(param) + "->";
        for (const CStructMember& member : members)
            writeMember(member, owner, typeLabel, "\t");
        unreadParameter(before, param);
        out_.line("}");
    }

    CTextBuffer& out() override { return out_; }
    const std::string& proj() const override { return context_.proj(); }

    void value(const std::string& indent, std::string_view name, const CStructMember& member,
               const std::string& access) override
    {
        const bool number = member.kind == CStructMember::Number || member.kind == CStructMember::NumberArray;
        const std::string_view format = number ? numberType(member.builtin).printFormat : "%s";
        const std::string_view open = member.pointer ? "(" : "";
        const std::string_view close = member.pointer ? " : \"\")" : "";
        const std::string_view check = member.pointer ? " != NULL ? " : "";
        const std::string_view again = member.pointer ? std::string_view(access) : std::string_view();
        label(name, label_);
        out_.line(indent, "printf(\"", label_, ":", format, "\\n\",", open, access, check, again, close, ");");
    }

    // "void WINAPI <proj>_print_<name>_t(<proj>_<name>_t *<param>)<end>".
    void writeSignature(std::string_view name, std::string_view param, const char* end)
    {
        const std::string& p = context_.proj();
        out_.line("void WINAPI ", p, "_print_", name, "_t(", p, "_", name, "_t *", param, ")", end);
    }

    void writeHead(std::string_view name, std::string_view param)
    {
        writeSignature(name, param, "");
        out_.line("{");
    }

    // One member's lines; owner ends in "->", typeLabel names the items of
    // a wildcard.
    void writeMember(const CStructMember& member, const std::string& owner, std::string_view typeLabel,
                     const std::string& indent)
    {
        const std::string_view name = member.xmlName == "*" ? typeLabel : member.xmlName;
        access_.assign(owner).append(member.cName);
        count_.assign(owner).append(member.countName);
        memberKindOf(member).print(*this, member, access_, count_, name, indent);
    }

    // The operations of portType by name, the first of each name: the one
    // that carries the binding of any operation of that name.
    static std::unordered_map<std::string_view, const CViewOperation*> operationsByName(const CViewPortType& portType)
    {
        std::unordered_map<std::string_view, const CViewOperation*> byName;
        byName.reserve(portType.operations.size());
        for (const CViewOperation& operation : portType.operations)
            byName.emplace(operation.name, &operation);
        return byName;
    }

    void writeHeaderLines(const CViewPortType& portType, CPrinted& done)
    {
        // Without a header its operations' bindings give no lines.
        if (portType.soapBinding == nullptr || portType.operations.empty() || !hasBoundHeader(portType))
            return;
        // An operation of another name takes the binding of the first.
        const auto byName = operationsByName(portType);
        for (const CViewPortType& any : context_.view().portTypes()) {
            for (const CViewOperation& operation : any.operations) {
                const auto named = byName.find(operation.name);
                const CViewOperation* bound = named != byName.end() ? named->second : &portType.operations.front();
                if (bound == nullptr || !bound->soapBound)
                    continue;
                for (int direction = 0; direction < 2; ++direction) {
                    const CHeaderPart& header = bound->direction(direction).header;
                    const CViewPart* part = header.part();
                    const CStructMember* member = layout_.headerMember(header.message, header.partIndex);
                    if (part == nullptr || member == nullptr)
                        continue;
                    const std::string name = std::string(header.message->name) + ":" + std::string(part->name);
                    if (!done.headers.insert(name).second)
                        continue;
                    if (printedHeaders_.insert(name).second || !portType.secondVersion)
                        writeMember(*member, "pk->", member->xmlName, "\t");
                }
            }
        }
    }

    void writeMessageCall(const char* indent, const CViewMessage& message)
    {
        out_.line(indent, context_.proj(), "_print_", message.cName, "_msg_t(&pk->msg.", message.cName, ");");
    }

    // A kind whose request and response are different messages prints the
    // one of the packet's direction.
    void dispatchBlock(const CMessageKey& key, const CViewMessage& message)
    {
        out_.line("\tif(pk->msg_type == ", context_.projUpper(), "_PROTO_", key.id, "){");
        const int other = key.otherDirection();
        if (other >= 0 && key.messages[other] != &message && layout_.structOf(key.messages[other]) != nullptr) {
            out_.line("\t\tif(pk->msg_direction == ", context_.directionConstant(other), ")");
            writeMessageCall("\t\t\t", *key.messages[other]);
            out_.line("\t\telse");
            writeMessageCall("\t\t\t", message);
        } else {
            writeMessageCall("\t\t", message);
        }
        out_.line("\t}");
    }

    // Requests of document style stop at the first element already
    // dispatched; responses pass over it. In a port type's SOAP 1.2 copy a
    // kind its first version printed counts as dispatched.
    void writeDispatch(const CViewOperation& operation, bool copy, CPrinted& done)
    {
        for (int direction = 0; direction < 2; ++direction) {
            const CViewMessage* message = operation.direction(direction).message;
            if (message == nullptr)
                continue;
            for (const CMessageKey* key : context_.keys().keysOf(operation, direction)) {
                if (!done.firstTime(*key) || (copy && printedKinds_.met(key->index))) {
                    if (direction == 0)
                        break;
                    continue;
                }
                printedKinds_.firstTime(key->index);
                dispatchBlock(*key, *message);
            }
        }
    }

    const CEmitContext& context_;
    const CStructLayout& layout_;
    CTextBuffer& out_;
    CMetIndexes called_; // by struct index
    // What the packet's print function has printed so far: a port type's
    // SOAP 1.2 copy prints only what its first version did not.
    std::set<std::string, std::less<>> printedHeaders_;
    CMetIndexes printedKinds_;
    // The member being printed and its label, kept for their room.
    std::string access_;
    std::string count_;
    std::string label_;
};

} // namespace

void writePrintFunctions(const CEmitContext& context, CTextBuffer& source)
{
    source.emptyLine();
    source.line(Slashes);
    CPrintWriter writer(context, source);
    writer.writeTypesAndElements();
    writer.writeMessages();
    writer.writePacket();
}

void writePrintFunctionDeclarations(const CEmitContext& context, CTextBuffer& header)
{
    header.line("//what ", context.proj(), "_print_proto_packet_t prints of each type, element and message");
    CPrintWriter(context, header).writeDeclarations();
    header.emptyLine();
    header.emptyLine();
}
