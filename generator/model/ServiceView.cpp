#include "generator/model/ServiceView.h"

#include "generator/model/Identifier.h"
#include "schema/SchemaConstants.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

CTypeRef CViewSchema::resolve(int typeId) const
{
    CTypeRef ref;
    const int slot = typeId - Schema::FIRST_USER_TYPE;
    if (findBuiltinType(typeId) != nullptr)
        ref.builtin = typeId;
    else if (slot >= 0 && slot < static_cast<int>(types.size()))
        ref.user = types[static_cast<std::size_t>(slot)];
    return ref;
}

std::string_view CViewMessage::shortName() const
{
    const std::string::size_type dot = name.find('.');
    return dot == std::string::npos ? std::string_view(name) : std::string_view(name).substr(dot + 1);
}

const std::vector<std::string>* CViewType::allowedValues() const
{
    // A restriction without facets of its own keeps its base's; bases that name each other end.
    const CViewType* type = this;
    for (int hops = 0; type != nullptr && hops < 32; ++hops, type = type->base.user) {
        if (!type->enumerations.empty())
            return &type->enumerations;
    }
    return nullptr;
}

const CViewPart* CHeaderPart::part() const
{
    if (message == nullptr || partIndex < 0 || partIndex >= static_cast<int>(message->parts.size()))
        return nullptr;
    return &message->parts[static_cast<std::size_t>(partIndex)];
}

CViewType& CServiceView::addType(const std::string& ns, const std::string& name)
{
    types_.emplace_back();
    CViewType& type = types_.back();
    type.index = types_.size() - 1;
    type.ns = namespaceText(ns);
    type.name = nameText(name);
    return type;
}

CValueFacets& CServiceView::addFacets(CViewType& type)
{
    CValueFacets& facets = facets_.emplace_back();
    type.facets = &facets;
    return facets;
}

CViewElement& CServiceView::addElement(const std::string& ns, const std::string& name, CTypeRef type,
                                       int schemaIndex)
{
    elements_.emplace_back();
    CViewElement& element = elements_.back();
    element.index = elements_.size() - 1;
    element.ns = namespaceText(ns);
    element.name = nameText(name);
    element.type = type;
    element.schemaIndex = schemaIndex;
    if (type.user != nullptr && firstElementOfType(type.user) == nullptr)
        firstElementByType_.set(type.user, &element);
    if (schemaIndex >= 0 && schemaIndex < static_cast<int>(schemas_.size()))
        schemas_[static_cast<std::size_t>(schemaIndex)].elements.push_back(&element);
    return element;
}

CViewSchema& CServiceView::addSchema(const std::string& ns)
{
    schemas_.emplace_back();
    schemas_.back().index = static_cast<int>(schemas_.size()) - 1;
    schemas_.back().ns = namespaceText(ns);
    return schemas_.back();
}

CViewMessage& CServiceView::addMessage(const std::string& name, const std::string& ns)
{
    messages_.emplace_back();
    CViewMessage& message = messages_.back();
    message.index = messages_.size() - 1;
    message.ns = namespaceText(ns);
    message.name = nameText(name);
    return message;
}

CViewPortType& CServiceView::addPortType(const std::string& name)
{
    portTypes_.emplace_back();
    portTypes_.back().name = name;
    return portTypes_.back();
}

CViewBinding& CServiceView::addBinding(const std::string& name)
{
    bindings_.emplace_back();
    bindings_.back().name = name;
    return bindings_.back();
}

CViewService& CServiceView::addService(const std::string& name)
{
    services_.emplace_back();
    services_.back().name = name;
    return services_.back();
}

const CViewType* CServiceView::findType(const std::string& ns, const std::string& name)
{
    return typeIndex_.find(types_, Key(ns, name), [](const CViewType& type) { return Key(type.ns, type.name); });
}

const CViewElement* CServiceView::findElement(const std::string& ns, const std::string& name)
{
    return elementIndex_.find(elements_, Key(ns, name),
                              [](const CViewElement& element) { return Key(element.ns, element.name); });
}

const CViewMessage* CServiceView::findMessage(const std::string& name)
{
    return messageIndex_.find(messages_, name, [](const CViewMessage& message) { return std::string_view(message.name); });
}

const CViewMessage* CServiceView::findMessage(const std::string& ns, const std::string& name)
{
    return qualifiedMessageIndex_.find(messages_, Key(ns, name),
                                       [](const CViewMessage& message) { return Key(message.ns, message.name); });
}

CTypeRef CServiceView::resolve(int schemaIndex, int typeId) const
{
    if (schemaIndex < 0 || schemaIndex >= static_cast<int>(schemas_.size()))
        return CTypeRef();
    return schemas_[static_cast<std::size_t>(schemaIndex)].resolve(typeId);
}

const CViewElement* CServiceView::firstElementOfType(const CViewType* type) const
{
    return firstElementByType_.find(type);
}

const std::vector<std::string>& CServiceView::reservedStructNames()
{
    static const std::vector<std::string> names = {"soap_fault_msg", "http_header", "http_msg", "proto_packet",
                                                   "proto_trans"};
    return names;
}

const std::vector<std::string>& CServiceView::reservedMessageNames()
{
    static const std::vector<std::string> names = {"http_msg", "soap_fault", "http_resp"};
    return names;
}

namespace {

// The name a message asks for, as the union member and send function "<M>"
// and as the struct "<M>_msg", with the hashes the scopes find them by.
struct CWantedName {
    std::string name;
    std::string structName;
    std::size_t nameHash = 0;
    std::size_t structHash = 0;
};

void want(std::string_view shortName, CWantedName& wanted)
{
    wanted.name = sanitiseIdentifier(shortName);
    wanted.structName.assign(wanted.name).append("_msg");
    wanted.nameHash = CTextPool::hashOf(wanted.name);
    wanted.structHash = CTextPool::hashOf(wanted.structName);
}

// A message's name must be free twice: its wanted name, else the first
// "_2", "_3" ... form free in both scopes (put together in structName, a
// buffer the caller keeps for the next message).
std::string claimMessageName(CWantedName& wanted, CNameScope& messages, CNameScope& structs, std::string& structName,
                             std::unordered_map<std::string, int>& nextSuffix)
{
    if (!messages.isTaken(wanted.name, wanted.nameHash) && !structs.isTaken(wanted.structName, wanted.structHash)) {
        messages.reserve(wanted.name, wanted.nameHash);
        structs.reserve(wanted.structName, wanted.structHash);
        return std::move(wanted.name);
    }
    std::string candidate = firstFreeVariant(wanted.name, nextSuffix, [&](const std::string& variant) {
        structName.assign(variant).append("_msg");
        return !messages.isTaken(variant) && !structs.isTaken(structName);
    });
    messages.reserve(candidate);
    structs.reserve(structName);
    return candidate;
}

} // namespace

void CServiceView::assignNames()
{
    CNameScope structs;
    // A struct per type and element, and one "<M>_msg" per message.
    structs.makeRoom(reservedStructNames().size() + types_.size() + elements_.size() + messages_.size());
    for (const std::string& reserved : reservedStructNames())
        structs.reserve(reserved);

    std::vector<std::string_view> names;
    names.reserve(std::max(types_.size(), elements_.size()));
    for (const CViewType& type : types_)
        names.push_back(type.name);
    std::vector<std::string> assigned = structs.assign(names);
    for (std::size_t i = 0; i < types_.size(); ++i)
        types_[i].cName = cNameText(types_[i].name, assigned[i]);

    // The first element of a structured type writes one struct under both
    // names; when they are spelled alike it may keep its type's name.
    names.clear();
    std::vector<CViewElement*> named;
    named.reserve(elements_.size());
    for (CViewElement& element : elements_) {
        const CViewType* type = element.type.user;
        if (type != nullptr && type->isStructured() && firstElementOfType(type) == &element &&
            sanitisesTo(element.name, type->cName)) {
            element.cName = type->cName;
            continue;
        }
        names.push_back(element.name);
        named.push_back(&element);
    }
    assigned = structs.assign(names);
    for (std::size_t i = 0; i < named.size(); ++i)
        named[i]->cName = cNameText(named[i]->name, assigned[i]);

    CNameScope messageScope;
    messageScope.makeRoom(reservedMessageNames().size() + messages_.size());
    for (const std::string& reserved : reservedMessageNames())
        messageScope.reserve(reserved);
    CNameScope members;
    std::string structName;
    std::unordered_map<std::string, int> nextSuffix;
    // The names of the next few messages are worked out, and their look-ups
    // in the two large scopes started, while earlier ones claim theirs.
    CWantedName ahead[CNameScope::LookAhead];
    const auto prepare = [&](std::size_t position) {
        if (position >= messages_.size())
            return;
        CWantedName& wanted = ahead[position % CNameScope::LookAhead];
        want(messages_[position].shortName(), wanted);
        messageScope.prefetch(wanted.nameHash);
        structs.prefetch(wanted.structHash);
    };
    for (std::size_t position = 0; position < CNameScope::LookAhead; ++position)
        prepare(position);
    for (std::size_t position = 0; position < messages_.size(); ++position) {
        CViewMessage& message = messages_[position];
        message.cName = cNameText(message.shortName(), claimMessageName(ahead[position % CNameScope::LookAhead], messageScope,
                                                                        structs, structName, nextSuffix));
        prepare(position + CNameScope::LookAhead);
        members.clear();
        names.clear();
        for (const CViewPart& part : message.parts)
            names.push_back(part.refKind == CViewPart::ElementRef && part.element ? part.element->name : part.name);
        assigned = members.assign(names);
        for (std::size_t i = 0; i < message.parts.size(); ++i)
            message.parts[i].cName = cNameText(names[i], assigned[i]);
    }

    for (CViewPortType& portType : portTypes_) {
        for (CViewOperation& operation : portType.operations) {
            const std::string cName = sanitiseIdentifier(operation.name) + (portType.secondVersion ? "_soap12" : "");
            operation.cName = cNameText(operation.name, cName);
        }
    }
}
