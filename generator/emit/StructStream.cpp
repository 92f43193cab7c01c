#include "generator/emit/StructStream.h"

#include "generator/model/EmitContext.h"
#include "generator/model/NameForms.h"
#include "generator/model/StructLayout.h"
#include "generator/emit/EnumerationChecks.h"
#include "generator/emit/Fragments.h"
#include "generator/emit/ResponseDecoders.h"
#include "generator/emit/TextBuffer.h"
#include "generator/emit/ValueDecoding.h"

#include <set>
#include <unordered_set>
#include <string_view>

namespace {

// The reading marks the members that came in one 64-bit word per struct.
constexpr std::size_t MostMembers = 64;

bool isValue(const CStructMember& member)
{
    return member.kind == CStructMember::Number || member.kind == CStructMember::Text ||
        member.kind == CStructMember::NumberArray || member.kind == CStructMember::TextArray;
}

bool isStruct(const CStructMember& member)
{
    return member.kind == CStructMember::Struct || member.kind == CStructMember::StructArray;
}

// A number or text as an element's text, which the reading converts as its
// decoder does: no xsd:any, anyType content or xsi:type of it.
bool plainValue(const CStructMember& member)
{
    return isValue(member) && !member.wildcard && !member.anyContent && member.typeName.empty();
}

// The value a struct member of a simple type holds in its struct (the
// element's own text, as the type's decoder reads it), where its type lists
// no values to note; null for any other member.
const CStructMember* simpleValueOf(const CStructLayout& layout, const CStructMember& member)
{
    const CStructDef* def = isStruct(member) && member.userType != nullptr && !member.pointer ? layout.structOf(member.userType)
                                                                                              : nullptr;
    if (def == nullptr || def->members.size() != 1 || def->members.front().origin != CStructMember::Value ||
        !plainValue(def->members.front()))
        return nullptr;
    const bool listed = enumeratedValue(*member.userType, *def) != nullptr || enumeratedNumber(*member.userType, *def) != nullptr;
    return listed ? nullptr : &def->members.front();
}

// The value the reading converts for a member: its own, or the one its
// simple type's struct holds; null for a struct it fills.
const CStructMember* valueOf(const CStructLayout& layout, const CStructMember& member)
{
    // The value a simple type's struct holds is read as the member's own: as
    // the struct's one member it lies where the struct does.
    return isValue(member) ? &member : simpleValueOf(layout, member);
}

// A member the decoder reads from its own element, by name, from the text
// alone or through the struct's decoder: no attribute, own text, xsd:any,
// anyType content or xsi:type of it.
bool memberReadable(const CStructLayout& layout, const CStructMember& member)
{
    if (member.kind == CStructMember::Dummy)
        return true;
    if (member.origin != CStructMember::Element || member.wildcard || member.anyContent || !member.typeName.empty())
        return false;
    if (isValue(member))
        return true;
    return isStruct(member) && member.userType != nullptr && member.target != nullptr &&
        layout.structOf(member.userType) != nullptr;
}

// The C text of a member's place, as the conversion writes into it: at
// points to one value or item.
std::string placeOf(const CStructMember& member)
{
    if (member.kind == CStructMember::Number || member.kind == CStructMember::NumberArray)
        return "(*(" + std::string(numberType(member.builtin).cType) + " *)at)";
    if (member.pointer)
        return "(*(char **)at)";
    return "(*(char (*)[" + std::string(member.lengthConstant) + "+1])at)";
}

// Puts "offsetof(<struct>, <field>)", or MYSAX_NONE for no field, into a
// member table's row, piece by piece.
void appendOffset(CTextBuffer& out, std::string_view structType, std::string_view field)
{
    if (field.empty())
        out.append("MYSAX_NONE");
    else
        out.append("offsetof(", structType, ", ", field, ")");
}

std::string storeName(std::size_t number)
{
    return "mysax_store" + std::to_string(number);
}

} // namespace

bool CStructStream::membersReadable(const CViewType& type)
{
    const auto known = readable_.find(&type);
    if (known != readable_.end())
        return known->second;
    const CStructLayout& layout = context_.layout();
    const CStructDef* def = layout.structOf(&type);
    bool readable = def != nullptr && !type.soapArray && def->members.size() <= MostMembers;
    std::set<std::string_view> names;
    for (std::size_t i = 0; readable && def != nullptr && i < def->members.size(); ++i) {
        const CStructMember& member = def->members[i];
        // Two members of one local name would each take the element.
        readable = memberReadable(layout, member) &&
            (member.kind == CStructMember::Dummy || names.insert(member.xmlName).second);
    }
    readable_.emplace(&type, readable);
    return readable;
}

template <class Visit>
void CStructStream::forEachStructOf(const CViewType& type, Visit visit)
{
    const CStructLayout& layout = context_.layout();
    for (const CStructMember& member : layout.structOf(&type)->members) {
        if (isStruct(member) && simpleValueOf(layout, member) == nullptr)
            visit(member.userType);
    }
}

void CStructStream::settleClosure(const CViewType& type)
{
    if (closureReadable_.count(&type) != 0)
        return;
    // The types not settled yet that the type reaches, each with the met
    // types that hold it; a type is unreadable where it reaches one that is.
    std::vector<const CViewType*> met{&type}, work{&type}, unreadable;
    std::unordered_map<const CViewType*, std::vector<const CViewType*>> heldBy;
    heldBy[&type];
    while (!work.empty()) {
        const CViewType* next = work.back();
        work.pop_back();
        if (!membersReadable(*next)) {
            unreadable.push_back(next);
            continue;
        }
        forEachStructOf(*next, [&](const CViewType* held) {
            const auto settled = closureReadable_.find(held);
            if (settled != closureReadable_.end()) {
                if (!settled->second)
                    unreadable.push_back(next);
                return;
            }
            const auto [holders, first] = heldBy.try_emplace(held);
            holders->second.push_back(next);
            if (first) {
                met.push_back(held);
                work.push_back(held);
            }
        });
    }
    for (const CViewType* one : met)
        closureReadable_.emplace(one, true);
    while (!unreadable.empty()) {
        const CViewType* one = unreadable.back();
        unreadable.pop_back();
        bool& readable = closureReadable_.at(one);
        if (!readable)
            continue;
        readable = false;
        for (const CViewType* holder : heldBy[one])
            unreadable.push_back(holder);
    }
}

void CStructStream::index(const CViewType& type)
{
    std::vector<const CViewType*> work{&type};
    std::unordered_set<const CViewType*> met{&type};
    while (!work.empty()) {
        const CViewType* next = work.back();
        work.pop_back();
        index_.emplace(next, static_cast<int>(order_.size()));
        order_.push_back(next);
        forEachStructOf(*next, [&](const CViewType* held) {
            if (index_.count(held) == 0 && met.insert(held).second)
                work.push_back(held);
        });
    }
}

int CStructStream::add(const CViewType& type)
{
    const auto known = index_.find(&type);
    if (known != index_.end())
        return known->second;
    settleClosure(type);
    if (!closureReadable_.at(&type))
        return -1;
    index(type);
    return index_.at(&type);
}

std::size_t CStructStream::storeOf(const CStructMember& member)
{
    CTextBuffer body;
    // No decode error is written: a value that fails sends the message to the tree.
    writeKeyConversion(member, placeOf(member), std::string(), "\t", body);
    const auto [at, added] = stores_.emplace(body.text(), stores_.size());
    if (added) {
        CTextBuffer& out = *storesOut_;
        out.line("static int ", storeName(at->second), "(xmlDocPtr doc, const xmlChar *key, void *at)");
        out.line("{");
        out.line("\tint\tresult = 0;");
        out.emptyLine();
        out.append(at->first);
        out.line("\treturn result;");
        out.line("}");
        out.emptyLine();
    }
    return at->second;
}

template <class Visit>
void CStructStream::forEachValue(Visit visit) const
{
    const CStructLayout& layout = context_.layout();
    for (const CViewType* type : order_) {
        for (const CStructMember& member : layout.structOf(type)->members) {
            if (const CStructMember* value = member.kind != CStructMember::Dummy ? valueOf(layout, member) : nullptr)
                visit(*value);
        }
    }
}

void CStructStream::writeStores(CTextBuffer& out)
{
    std::size_t count = 0;
    forEachValue([&count](const CStructMember&) { ++count; });
    memberStores_.reserve(count);
    storesOut_ = &out;
    forEachValue([this](const CStructMember& value) { memberStores_.push_back(static_cast<std::uint32_t>(storeOf(value))); });
    storesOut_ = nullptr;
    stores_.clear();
}

void CStructStream::writeMembers(CTextBuffer& out)
{
    const CStructLayout& layout = context_.layout();
    bool any = false;
    std::size_t valued = 0; // the members with a value so far, in writeStores' order
    out.line("static const mysax_member_t mysax_members[] = {");
    for (const CViewType* type : order_) {
        const std::string structType = context_.typeName(std::string(type->cName));
        for (const CStructMember& member : layout.structOf(type)->members) {
            if (member.kind == CStructMember::Dummy)
                continue;
            const bool array = member.isArray();
            const CStructMember* value = valueOf(layout, member);
            std::string shape = array ? "MYSAX_ARRAY" : "0";
            if (value == nullptr && member.pointer)
                shape = array ? "MYSAX_ARRAY | MYSAX_ALLOCATED" : "MYSAX_ALLOCATED";
            out.append("\t{", cStringLiteral(member.xmlName), ", ", cStringLiteral(member.ns), ", ");
            appendOffset(out, structType, member.cName);
            out.append(", ");
            appendOffset(out, structType, array ? std::string_view(member.countName) : std::string_view());
            out.append(", ");
            appendOffset(out, structType, member.presentName);
            // the size of an array's item, else 0
            if (array)
                out.append(", sizeof(*((", structType, " *)0)->", member.cName, ")");
            else
                out.append(", 0");
            out.line(", ", shape, ", ", value != nullptr && emptyTextFails(*value) ? "1" : "0", ", ",
                     value != nullptr ? std::string("-1") : std::to_string(index_.at(member.userType)), ", ",
                     value != nullptr ? storeName(memberStores_[valued++]) : std::string("NULL"), ", ",
                     array ? "mydecode_grow" : "NULL", "},");
            any = true;
        }
    }
    // An array needs an item; a service whose structs hold no members has none.
    if (!any)
        out.line("\t{NULL, NULL, 0, 0, 0, 0, 0, 0, -1, NULL, NULL}");
    out.line("};");
    out.emptyLine();
}

void CStructStream::writeTypes(CTextBuffer& out)
{
    const CStructLayout& layout = context_.layout();
    int first = 0;
    out.line("static const mysax_type_t mysax_types[] = {");
    for (const CViewType* type : order_) {
        int count = 0;
        unsigned long long required = 0;
        for (const CStructMember& member : layout.structOf(type)->members) {
            if (member.kind == CStructMember::Dummy)
                continue;
            if (isRequiredValue(member))
                required |= 1ULL << count;
            ++count;
        }
        out.line("\t{", std::to_string(first), ", ", std::to_string(count), ", sizeof(",
                 context_.typeName(std::string(type->cName)), "), ", std::to_string(required), "ULL},");
        first += count;
    }
    out.line("};");
    out.emptyLine();
}

// The conversions, then the tables that name them, each written straight
// into out: holding the tables aside until the conversions were known held
// a large service's tables in memory twice.
void CStructStream::write(CTextBuffer& out)
{
    writeFragment(context_, CFragment::StructStream, out);
    out.emptyLine();
    out.line("//the conversions of the members' texts, each into the value or item at points to");
    writeStores(out);
    out.line("//the structs the reading fills, and their members");
    writeMembers(out);
    writeTypes(out);
}
