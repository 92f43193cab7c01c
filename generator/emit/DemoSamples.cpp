#include "generator/emit/DemoSamples.h"

#include "generator/emit/TextBuffer.h"
#include "generator/model/EmitContext.h"
#include "generator/model/ListRun.h"
#include "generator/model/NameForms.h"
#include "generator/sample/SampleValues.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "schema/SchemaConstants.h"

namespace {

// A struct that holds itself (through a pointer or an array) is filled
// again only this deep.
const std::string RecursionDepth = std::to_string(SampleRecursionDepth);

const char* const SampleFunctionPrefix = "demo_sample_";

const CStructDef* resolved(const CStructDef* def)
{
    for (int hops = 0; def != nullptr && def->kind == CStructDef::ElementAlias && def->aliasOf != nullptr && hops < 16;
         ++hops)
        def = def->aliasOf;
    return def;
}

const CStructDef* filledTarget(const CStructMember& member)
{
    if (member.kind != CStructMember::Struct && member.kind != CStructMember::StructArray)
        return nullptr;
    return resolved(member.target);
}

// Whether the demo can make a value of the member (not of a wildcard).
bool fillable(const CStructMember& member)
{
    const bool structured = member.kind == CStructMember::Struct || member.kind == CStructMember::StructArray;
    return member.kind != CStructMember::Dummy && !member.wildcard && !(structured && filledTarget(member) == nullptr);
}

// The members a sample fills, appended: all that hold a value the demo can
// make (no wildcard), of a choice only the first branch (its attributes all).
void appendFilledMembers(const CStructDef& def, std::vector<const CStructMember*>& members)
{
    const bool choice = def.type != nullptr && def.type->choice;
    bool branchTaken = false;
    for (const CStructMember& member : def.heldMembers()) {
        if (!fillable(member))
            continue;
        const bool branch = member.origin != CStructMember::Attribute;
        if (choice && branch && branchTaken)
            continue;
        branchTaken = branchTaken || branch;
        members.push_back(&member);
    }
}

// The structs the messages reach, with the members a sample fills, and
// which of them hold each other (strongly connected, so that filling one
// may come back to it). Structs are found by their index in the layout.
class CReach {
public:
    // structCount: the layout's, which bounds every struct's index. Sized to
    // it at once, the lists never hold the room and the copies of doubling.
    CReach(const std::vector<const CStructDef*>& messages, std::size_t structCount)
    {
        nodes_.resize(structCount);
        order_.reserve(structCount);
        for (const CStructDef* message : messages)
            visit(resolved(message));
    }

    const std::vector<const CStructDef*>& order() const { return order_; }

    // The filled members of a struct the walk reached.
    CListRun<const CStructMember*> filledMembers(const CStructDef& def) const
    {
        const Node& node = nodes_[def.index];
        return CListRun<const CStructMember*>(filled_.data() + node.firstMember, filled_.data() + node.endMember);
    }

    bool holdEachOther(const CStructDef* a, const CStructDef* b) const
    {
        const Node* x = reached(a);
        const Node* y = reached(b);
        return x != nullptr && y != nullptr && x->component == y->component;
    }

private:
    // A struct's place in the walk.
    struct Node {
        int index = -1; // -1: not reached
        int low = 0;
        int component = -1; // the index of its component's first struct, once known
        bool onStack = true;
        std::size_t firstMember = 0; // its filled members in filled_
        std::size_t endMember = 0;
    };

    const Node* reached(const CStructDef* def) const
    {
        return def->index < nodes_.size() && nodes_[def->index].index >= 0 ? &nodes_[def->index] : nullptr;
    }

    Node& nodeOf(const CStructDef* def)
    {
        if (def->index >= nodes_.size())
            nodes_.resize(std::max(def->index + 1, 2 * nodes_.size()));
        return nodes_[def->index];
    }

    // Tarjan's components; the order is that of discovery. Nodes are
    // found anew after each visit: a deeper visit may move them.
    void visit(const CStructDef* def)
    {
        if (def == nullptr || reached(def) != nullptr)
            return;
        const int own = static_cast<int>(order_.size());
        const std::size_t firstMember = filled_.size();
        appendFilledMembers(*def, filled_);
        nodeOf(def) = Node{own, own, -1, true, firstMember, filled_.size()};
        order_.push_back(def);
        stack_.push_back(def);
        for (std::size_t m = firstMember; m < nodeOf(def).endMember; ++m) {
            const CStructDef* target = filledTarget(*filled_[m]);
            if (target == nullptr)
                continue;
            const Node* found = reached(target);
            if (found == nullptr) {
                visit(target);
                nodeOf(def).low = std::min(nodeOf(def).low, nodeOf(target).low);
            } else if (found->onStack) {
                nodeOf(def).low = std::min(nodeOf(def).low, found->index);
            }
        }
        if (nodeOf(def).low != own)
            return;
        for (const CStructDef* member = nullptr; member != def;) {
            member = stack_.back();
            stack_.pop_back();
            Node& node = nodeOf(member);
            node.onStack = false;
            node.component = own;
        }
    }

    std::vector<const CStructDef*> order_;
    std::vector<Node> nodes_; // by struct index
    std::vector<const CStructMember*> filled_; // each reached struct's filled members side by side
    std::vector<const CStructDef*> stack_;
};

class CSampleWriter {
public:
    CSampleWriter(const CEmitContext& context, const CReach& reach, CTextBuffer& out)
        : context_(context), reach_(reach), out_(out)
    {
    }

    void writeFunction(const CStructDef& def)
    {
        owner_ = &def;
        const CListRun<const CStructMember*> members = reach_.filledMembers(def);
        writeHead(def, "");
        writeBody(members, "value->");
        if (members.empty())
            out_.line("(void)value;");
        out_.append(body_.text());
        out_.close();
        out_.emptyLine();
    }

    // The packet's members for soap:header parts, filled as struct members are.
    void writeHeaderFunction(const std::string& function, std::vector<const CStructMember*> members)
    {
        owner_ = nullptr;
        members.erase(std::remove_if(members.begin(), members.end(), [](const CStructMember* m) { return !fillable(*m); }),
                      members.end());
        out_.line("static void ", function, "(", context_.proj(), "_proto_packet_t *pk, int depth, int *n)");
        writeBody(CListRun<const CStructMember*>(members.data(), members.data() + members.size()), "pk->");
        if (members.empty())
            out_.line("(void)pk;");
        out_.append(body_.text());
        out_.close();
        out_.emptyLine();
    }

    // The function's head line, ending in end.
    void writeHead(const CStructDef& def, const char* end)
    {
        out_.line("static void ", SampleFunctionPrefix, resolved(&def)->name, "(", context_.proj(), "_", def.name,
                  "_t *value, int depth, int *n)", end);
    }

private:
    // The function's declarations after its head; its statements wait in body_.
    void writeBody(CListRun<const CStructMember*> members, const std::string& owner)
    {
        body_.clear();
        prefix_ = owner;
        usesDepth_ = false;
        usesCounter_ = false;
        usesIndex_ = false;
        body_.indent();
        for (const CStructMember* member : members) {
            access_.assign(prefix_).append(member->cName);
            fillMember(body_, *member, access_);
        }
        out_.open("{");
        if (usesIndex_) {
            out_.line("int i;");
            out_.emptyLine();
        }
        if (!usesDepth_)
            out_.line("(void)depth;");
        if (!usesCounter_)
            out_.line("(void)n;");
    }

    // An optional member stands only while the message's values are few.
    void fillMember(CTextBuffer& body, const CStructMember& member, const std::string& access)
    {
        const bool budgeted = !member.presentName.empty();
        if (budgeted) {
            usesCounter_ = true;
            body.open("if(*n < DEMO_SAMPLE_BUDGET){");
        }
        if (member.isArray()) {
            fillArray(body, member, access);
        } else if (member.kind == CStructMember::Struct) {
            fillStruct(body, member, access);
        } else {
            writeValue(body, member, access);
            markPresent(body, member);
        }
        if (budgeted)
            body.close();
    }

    void markPresent(CTextBuffer& body, const CStructMember& member)
    {
        if (!member.presentName.empty())
            body.line(prefix_, member.presentName, " = 1;");
    }

    void fillStruct(CTextBuffer& body, const CStructMember& member, const std::string& access)
    {
        const std::string_view called = resolved(filledTarget(member))->name;
        usesDepth_ = true;
        usesCounter_ = true;
        if (!member.pointer) {
            body.line(SampleFunctionPrefix, called, "(&", access, ", depth + 1, n);");
            markPresent(body, member);
            return;
        }
        // Held through a pointer: the struct holds itself somewhere below.
        body.open("if(depth < ", RecursionDepth, "){");
        body.line(access, " = calloc(1, sizeof(*", access, "));");
        body.open("if(", access, " != NULL){");
        body.line(SampleFunctionPrefix, called, "(", access, ", depth + 1, n);");
        markPresent(body, member);
        body.close();
        body.close();
    }

    void fillArray(CTextBuffer& body, const CStructMember& member, const std::string& access)
    {
        const CStructDef* target = filledTarget(member);
        const bool guarded = target != nullptr && owner_ != nullptr && reach_.holdEachOther(owner_, target);
        if (guarded) {
            usesDepth_ = true;
            body.open("if(depth < ", RecursionDepth, "){");
        }
        usesIndex_ = true;
        usesCounter_ = true;
        const std::string count = prefix_ + std::string(member.countName);
        body.line(count, " = demo_items(n, ", (member.optional ? "1" : "0"), ");");
        body.line(access, " = calloc(", count, ", sizeof(*", access, "));");
        body.line("if(", access, " == NULL)");
        body.line("\t", count, " = 0;");
        body.line("for(i = 0; i < ", count, "; i++)");
        body.indent();
        if (target != nullptr) {
            usesDepth_ = true;
            body.line(SampleFunctionPrefix, resolved(target)->name, "(&", access, "[i], depth + 1, n);");
        } else {
            writeValue(body, member, access + "[i]");
        }
        body.outdent();
        if (guarded)
            body.close();
    }

    // The type of the value a member holds, as its declaration names it.
    CTypeRef valueTypeOf(const CStructMember& member) const
    {
        const CTypeRef builtin{member.valueBuiltin, nullptr};
        if (member.part != nullptr)
            return member.part->type;
        if (owner_ == nullptr)
            return builtin;
        const CViewType* type = owner_->type;
        if (member.origin == CStructMember::Value)
            return type != nullptr ? CTypeRef{0, type} : owner_->element != nullptr ? owner_->element->type : builtin;
        if (type == nullptr)
            return builtin;
        const CNamedTypes& named = namedTypes(*type);
        const auto& byName = member.origin == CStructMember::Attribute ? named.attributes : named.particles;
        const auto found = byName.find(member.xmlName);
        return found != byName.end() ? found->second : builtin;
    }

    // The types of a type's particles and of its attributes by name, the
    // first of a name as a search finds it; made once per struct written:
    // searching them for each member grew with the square of a type's
    // members. Only the type of the struct being written is asked about, so
    // only its maps are kept: kept for every type, they stood beside the
    // demo's text until its end.
    struct CNamedTypes {
        std::unordered_map<std::string_view, CTypeRef> particles, attributes;
    };

    const CNamedTypes& namedTypes(const CViewType& type) const
    {
        if (namedOf_ != &type) {
            named_.particles.clear();
            named_.attributes.clear();
            for (const CViewParticle& particle : type.particles)
                named_.particles.emplace(particle.name, particle.type);
            for (const CViewAttribute& attribute : type.attributes)
                named_.attributes.emplace(attribute.name, attribute.type);
            namedOf_ = &type;
        }
        return named_;
    }

    static void writeAllocatedText(CTextBuffer& body, const std::string& access, std::string_view text)
    {
        const std::string literal = cStringLiteral(text);
        body.line("if((", access, " = (char *)malloc(sizeof(", literal, "))) != NULL) memcpy(", access, ", ", literal,
                  ", sizeof(", literal, "));");
    }

    // One number or text, as a statement.
    void writeValue(CTextBuffer& body, const CStructMember& member, const std::string& access)
    {
        const bool number = member.kind == CStructMember::Number || member.kind == CStructMember::NumberArray;
        const bool ownValue = member.origin == CStructMember::Value && owner_ != nullptr && owner_->type != nullptr;
        const int builtin = number ? member.builtin : ownValue ? owner_->type->valueType : member.valueBuiltin;
        const bool unnamed = member.xmlName.empty() || member.xmlName == "*";
        const std::string_view name = unnamed ? std::string_view("item") : member.xmlName;
        const CSampleValue value = sampleValue(valueTypeOf(member), builtin, number, name);
        if (number) {
            const CBuiltinType& type = numberType(member.builtin);
            if (member.builtin == Schema::XSD_BOOLEAN) {
                body.line(access, " = 1;");
            } else if (value.kind == CSampleValue::Given) {
                body.line(access, " = (", type.cType, ")", value.text, ";");
            } else {
                usesCounter_ = true;
                body.line(access, " = (", type.cType, ")", value.floating ? "(++*n + 0.5)" : "(++*n)", ";");
            }
            return;
        }
        if (member.pointer && value.kind == CSampleValue::Given) { // an allocated text, freed with the packet
            writeAllocatedText(body, access, value.text);
        } else if (member.pointer) {
            usesCounter_ = true;
            // A simple type's maxLength bounds its value.
            const int most = ownValue ? owner_->type->maxLength : -1;
            body.line(access, " = demo_numbered_text(", cStringLiteral(name), ", ++*n, ", std::to_string(most), ");");
        } else if (value.kind == CSampleValue::Given) {
            body.line("demo_text(", access, ", sizeof(", access, "), ", cStringLiteral(value.text), ");");
        } else {
            usesCounter_ = true;
            body.line("demo_numbered(", access, ", sizeof(", access, "), ", cStringLiteral(name), ", ++*n);");
        }
    }

    const CEmitContext& context_;
    const CReach& reach_;
    CTextBuffer& out_;
    CTextBuffer body_;
    std::string prefix_; // how the filled members are reached: "value->", "pk->"
    std::string access_; // the member being filled, kept for its room
    const CStructDef* owner_ = nullptr; // null: the packet's header members
    bool usesDepth_ = false;
    bool usesCounter_ = false;
    bool usesIndex_ = false;
    mutable const CViewType* namedOf_ = nullptr; // whose maps named_ holds
    mutable CNamedTypes named_;
};

} // namespace

const CStructDef& sampledStruct(const CStructDef& def)
{
    return *resolved(&def);
}

void writeDemoSamples(const CEmitContext& context, const std::vector<const CStructDef*>& messages,
                      const std::vector<CDemoHeaderSample>& headers, CTextBuffer& out)
{
    std::vector<const CStructDef*> roots = messages;
    for (const CDemoHeaderSample& sample : headers) {
        for (const CStructMember* member : sample.members) {
            if (const CStructDef* target = filledTarget(*member))
                roots.push_back(target);
        }
    }
    const CReach reach(roots, context.layout().structCount());
    CSampleWriter writer(context, reach, out);
    // Declared first: structs may hold each other in any order.
    for (const CStructDef* def : reach.order())
        writer.writeHead(*def, ";");
    out.emptyLine();
    for (const CStructDef* def : reach.order())
        writer.writeFunction(*def);
    for (const CDemoHeaderSample& sample : headers)
        writer.writeHeaderFunction(sample.function, sample.members);
}
