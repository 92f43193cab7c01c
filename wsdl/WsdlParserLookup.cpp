// Names of the document resolved to model objects.

#include "schema/QualifiedName.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaParser.h"
#include "wsdl/WsdlParser.h"

namespace Wsdl {

// Messages are looked up by name for every part reference of every
// operation: an index keeps that from growing with the square of their number.
Message* WsdlParser::getMessage(const Schema::QualifiedName& name) const
{
    const auto found = messageIndex_.find(name.getLocalName());
    return found == messageIndex_.end() ? nullptr : found->second;
}

// An operation may name a message before its definition: the definition
// fills the message made here.
Message* WsdlParser::getMessageOrCreate(const Schema::QualifiedName& name)
{
    if (Message* message = getMessage(name))
        return message;
    auto message = std::make_unique<Message>(this);
    message->setName(name.getLocalName());
    messages_.push_back(std::move(message));
    messageIndex_.emplace(name.getLocalName(), messages_.back().get());
    return messages_.back().get();
}

namespace {

// The first element of that local name among those of the target namespace.
template <typename Element>
Element* findByLocalName(const std::unordered_map<std::string, Element*>& index, const std::string& localName)
{
    const auto found = index.find(localName);
    return found == index.end() ? nullptr : found->second;
}

} // namespace

// The name with the namespace its prefix is bound to at the current tag.
Schema::QualifiedName WsdlParser::resolvedName(const Schema::QualifiedName& name) const
{
    Schema::QualifiedName resolved(name);
    resolved.setNamespace(resolvePrefix(name.getPrefix()));
    return resolved;
}

PortType* WsdlParser::getPortType(const Schema::QualifiedName& name) const
{
    if (!name.getPrefix().empty() && resolvePrefix(name.getPrefix()) != tnsUri_)
        return nullptr;
    return findByLocalName(portTypeIndex_, name.getLocalName());
}

Binding* WsdlParser::getBinding(const Schema::QualifiedName& name) const
{
    if (!name.getPrefix().empty() && resolvePrefix(name.getPrefix()) != tnsUri_)
        return nullptr;
    return findByLocalName(bindingIndex_, name.getLocalName());
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
    const Schema::QualifiedName resolved = resolvedName(name);
    const std::string& ns = resolved.getNamespace();
    for (std::size_t i = 0; i < schemaParsers_.size(); ++i) {
        Schema::SchemaParser& schema = *schemaParsers_[i];
        // The built-in types live in the WSDL schema's table.
        const bool builtIn = ns == Schema::SchemaUri;
        if (!builtIn && schema.getNamespace() != ns && schema.getImportIndex(ns) == -1)
            continue;
        Declaration found;
        if (kind == TypeDeclaration)
            found.typeId = schema.getTypeId(resolved, false);
        else
            found.element = schema.getElementWithLocalType(resolved);
        if (builtIn || found.typeId != Schema::XSD_INVALID || found.element != nullptr) {
            found.position = static_cast<int>(i);
            return found;
        }
    }
    return Declaration();
}

} // namespace Wsdl
