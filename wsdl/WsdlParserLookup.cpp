// Names of the document resolved to model objects.

#include "schema/QualifiedName.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaParser.h"
#include "wsdl/WsdlParser.h"

#include <algorithm>

namespace Wsdl {

namespace {

std::string_view nameOf(const Message* message)
{
    return message->getName();
}

} // namespace

// Messages are looked up by name for every part reference of every
// operation: an index keeps that from growing with the square of their number.
// A name without namespace (a soap:header's message, say) or one no message
// of its namespace bears takes the first message of its local name, unless
// that one is of another namespace. One look-up serves most names: only a
// message of another namespace than the first of its local name is filed
// apart, so the first one answers for its own namespace.
Message* WsdlParser::getMessage(const Schema::QualifiedName& name) const
{
    return messageAmong(firstMessageNamed(name.getLocalName()), name);
}

// The message name names, first being the first message of its local name.
Message* WsdlParser::messageAmong(Message* first, const Schema::QualifiedName& name) const
{
    const std::string& ns = name.getNamespace();
    if (first == nullptr || ns.empty() || first->getNamespace().empty() || first->getNamespace() == ns)
        return first;
    return otherMessages_.find(ns, name.getLocalName());
}

Message* WsdlParser::firstMessageNamed(std::string_view localName) const
{
    Message* const* first = messageIndex_.find(localName, nameOf);
    return first != nullptr ? *first : nullptr;
}

// An operation may name a message before its definition: the definition
// fills the message made here. The first message of a local name is looked
// up and, when new, filed in one probe (every message of the document passes
// here twice or more).
Message* WsdlParser::getMessageOrCreate(const Schema::QualifiedName& name)
{
    const std::string& ns = name.getNamespace();
    Message* made = nullptr;
    const auto make = [&] { return made = newMessage(name.getLocalName()); };
    Message* first = *messageIndex_.emplaceMade(std::string_view(name.getLocalName()), nameOf, make).first;
    if (made != nullptr) {
        if (!ns.empty())
            made->setNamespace(namespaces_.intern(ns));
        return made;
    }
    if (Message* message = messageAmong(first, name))
        return message;
    made = newMessage(name.getLocalName());
    placeMessage(*made, ns);
    return made;
}

Message* WsdlParser::newMessage(const std::string& localName)
{
    auto message = std::make_unique<Message>(this);
    message->setName(localName);
    messages_.push_back(std::move(message));
    ++undefinedMessages_;
    return messages_.back().get();
}

// Gives the message its namespace once that is known. A message takes a
// namespace once, so the first of a local name never shares it with a later
// namesake: only the later ones need filing by namespace.
void WsdlParser::placeMessage(Message& message, const std::string& ns)
{
    if (ns.empty() || !message.getNamespace().empty())
        return;
    message.setNamespace(namespaces_.intern(ns));
    if (firstMessageNamed(message.getName()) != &message)
        otherMessages_.add(ns, message.getName(), &message);
}

void WsdlParser::indexPortType(PortType& portType)
{
    portTypeIndex_.add(portType.getNamespace(), portType.getName(), &portType);
}

void WsdlParser::indexBinding(Binding& binding)
{
    bindingIndex_.add(binding.getNamespace(), binding.getName(), &binding);
}

// The namespace a reference's prefix is bound to; the target namespace of
// the document being read for a name without prefix.
const std::string& WsdlParser::referencedNamespace(const Schema::QualifiedName& name) const
{
    return name.getPrefix().empty() ? tnsUri_ : resolvePrefix(name.getPrefix());
}

// The name with the namespace its prefix is bound to at the current tag.
Schema::QualifiedName WsdlParser::resolvedName(Schema::QualifiedName name) const
{
    name.setNamespace(resolvePrefix(name.getPrefix()));
    return name;
}

PortType* WsdlParser::getPortType(const Schema::QualifiedName& name) const
{
    return portTypeIndex_.find(referencedNamespace(name), name.getLocalName());
}

Binding* WsdlParser::getBinding(const Schema::QualifiedName& name) const
{
    return bindingIndex_.find(referencedNamespace(name), name.getLocalName());
}

// Once the whole description is read, every message an operation names is
// defined and every port's binding known, or the parse fails where the
// reference is written. A binding defined after its service's port is
// linked here.
void WsdlParser::settleReferences()
{
    // Most descriptions define a message before naming it: then the walk
    // over every message, which finds the first one left undefined, is spared.
    const auto undefined = [](const auto& reference) { return !reference.first->isDefined(); };
    if (std::any_of(messageReferences_.begin(), messageReferences_.end(), undefined)) {
        for (const auto& message : messages_) {
            const auto named = messageReferences_.find(message.get());
            if (!message->isDefined() && named != messageReferences_.end())
                failAt(named->second, "Unknown message " + message->getName());
        }
    }
    for (const PortReference& reference : portReferences_) {
        Binding* binding = bindingIndex_.find(reference.bindingNamespace, reference.bindingName);
        if (binding == nullptr)
            failAt(reference.spot, "Unknown binding " + reference.bindingName);
        reference.service->setPortBinding(reference.port, binding);
        binding->addService(reference.service);
    }
}

int WsdlParser::getSchemaIndex(const Schema::QualifiedName& name, DeclarationKind kind)
{
    return findDeclaration(name, kind).position;
}

int WsdlParser::getTypeId(const Schema::QualifiedName& name)
{
    return findDeclaration(name, TypeDeclaration).typeId;
}

const Schema::Element* WsdlParser::getElement(const Schema::QualifiedName& name)
{
    return findDeclaration(name, ElementDeclaration).element;
}

// The first schema parser that serves the namespace the name's prefix is
// bound to and defines the name, with what it found there.
WsdlParser::Declaration WsdlParser::findDeclaration(const Schema::QualifiedName& name, DeclarationKind kind)
{
    return findResolvedDeclaration(resolvedName(name), kind);
}

WsdlParser::Declaration WsdlParser::findResolvedDeclaration(const Schema::QualifiedName& resolved,
                                                           DeclarationKind kind)
{
    const std::string& ns = resolved.getNamespace();
    // The built-in types live in the WSDL schema's table.
    if (ns == Schema::SchemaUri)
        return declarationIn(0, resolved, kind);
    for (const std::size_t position : schemasByNamespace_.servers(ns, schemaParsers_, recordJournal_)) {
        const Declaration found = declarationIn(position, resolved, kind);
        if (found.typeId != Schema::XSD_INVALID || found.element != nullptr)
            return found;
    }
    return Declaration();
}

WsdlParser::Declaration WsdlParser::declarationIn(std::size_t position, const Schema::QualifiedName& resolved,
                                                  DeclarationKind kind)
{
    Schema::SchemaParser& schema = *schemaParsers_[position];
    Declaration found;
    found.position = static_cast<int>(position);
    if (kind == TypeDeclaration)
        found.typeId = schema.getTypeId(resolved, false);
    else
        found.element = schema.getElementWithLocalType(resolved);
    return found;
}

} // namespace Wsdl
