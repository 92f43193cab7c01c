// The top-level elements read into the model: embedded schemas, messages and
// their parts, port types and their operations, bindings with their records
// of extensibility-element ids, and services with their ports.

#include "wsdl/WsdlParser.h"

#include "wsdl/AddressingMarks.h"

#include "schema/QualifiedName.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaParser.h"
#include "xml/XmlPullParser.h"

namespace Wsdl {

namespace {

// How a reference that names nothing is shown in the message.
std::string shownName(const Schema::QualifiedName& reference)
{
    return reference.getNamespace() + ":" + reference.getLocalName();
}

} // namespace

void WsdlParser::parseTypes()
{
    try {
        getNextElement(true);
        if (elementKind_ == DOCUMENTATION)
            parseDoc();
        readEmbeddedSchemas();
    } catch (const Schema::SchemaParserException& failure) {
        error_ = true;
        WsdlException converted(failure.getDescription());
        converted.state = elementKind_;
        converted.line = failure.getLine();
        converted.column = failure.getColumn();
        throw converted;
    }
}

void WsdlParser::readEmbeddedSchemas()
{
    const std::size_t first = schemaParsers_.size();
    while (elementKind_ == SCHEMA) {
        auto schema = std::make_unique<Schema::SchemaParser>(xpp_, tnsUri_, *diagnostics_, schemaDirectory_);
        schema->setUri(baseLocation_);
        schema->setDocumentLocation(getDocumentName());
        readSchema(std::move(schema), "Error parsing schema types for " + tnsUri_);
        getNextElement(true);
    }
    linkSchemas(first);
}

// Reads a schema of the document (or one it imports) that sees the built-in
// ones, and keeps it.
void WsdlParser::readSchema(std::unique_ptr<Schema::SchemaParser> schema, const std::string& failure)
{
    schema->addImport(schemaParsers_[0].get());
    schema->addImport(schemaParsers_[1].get());
    if (!schema->parseSchemaTag())
        error(failure, 0);
    schemaParsers_.push_back(std::move(schema));
}

// Schemas of one document refer to each other's namespaces without a
// location (with an import or without): each is told of the others whose
// namespace it names, and of the others of its own namespace, before its
// types and references are settled.
void WsdlParser::linkSchemas(std::size_t first)
{
    schemaLinks_.link(schemaParsers_, recordJournal_);
    for (std::size_t i = first; i < schemaParsers_.size(); ++i) {
        if (!schemaParsers_[i]->finalize())
            error("Invalid schema", 0);
    }
    // Linking and settling may have registered namespaces with listed schemas.
    schemasByNamespace_.forget();
}

void WsdlParser::parseMessage()
{
    if (elementKind_ != MESSAGE)
        error("syntax error", 0);
    const std::string& name = xpp_->getAttributeValue("", "name");
    const bool named = !name.empty();
    // An operation may have named the message already: its definition fills it.
    Schema::QualifiedName defined(name);
    defined.setNamespace(tnsUri_);
    Message* message = getMessageOrCreate(defined);
    placeMessage(*message, tnsUri_);
    if (!message->isDefined()) {
        message->setDefined();
        --undefinedMessages_;
    }
    for (int i = 0; i < xpp_->getAttributeCount(); ++i) {
        const std::string& prefix = xpp_->getAttributePrefix(i);
        if (!prefix.empty())
            message->addExtAttribute(handleExtensibilityAttribute(xpp_->getAttributeName(i), prefix));
    }
    if (!named)
        error("syntax error <message> name required", 0);
    getNextElement(true);
    if (elementKind_ == DOCUMENTATION)
        message->setDocumentation(parseDoc());
    while (elementKind_ == PART)
        parsePart(*message);
    readExtensibilityElements(*message, MESSAGE);
}

void WsdlParser::parsePart(Message& message)
{
    std::string name;
    int refKind = Part::None;
    int typeId = Schema::XSD_INVALID;
    const Schema::Element* element = nullptr;
    const char* builtinName = nullptr;
    int position = -1;
    int extensibilityId = 0;
    for (int i = 0; i < xpp_->getAttributeCount(); ++i) {
        const std::string& attribute = xpp_->getAttributeName(i);
        const std::string_view key = attribute; // compared by length first
        const std::string& prefix = xpp_->getAttributePrefix(i);
        if (!prefix.empty()) {
            extensibilityId = handleExtensibilityAttribute(attribute, prefix);
        } else if (key == "name") {
            name = xpp_->getAttributeValue(i);
        } else if (key == "type" || key == "element") {
            if (refKind != Part::None)
                error("either type or element must occur(only once) in part ", 0);
            const Schema::QualifiedName reference = resolvedName(Schema::QualifiedName(xpp_->getAttributeValue(i)));
            if (key == "type") {
                // Type ids are numbered per schema: the part keeps the schema its id belongs to.
                const Declaration found = findResolvedDeclaration(reference, TypeDeclaration);
                typeId = found.typeId;
                position = found.position;
                builtinName = Schema::SchemaParser::builtinNameOf(reference);
                if (typeId == Schema::XSD_INVALID)
                    error("Could not resolve type " + shownName(reference), 0);
                refKind = Part::TypeRef;
            } else {
                const Declaration found = findResolvedDeclaration(reference, ElementDeclaration);
                element = found.element;
                position = found.position;
                if (element == nullptr)
                    error("Could not resolve element " + shownName(reference), 0);
                refKind = Part::ElementRef;
            }
        } else {
            ignoreAttribute(attribute);
        }
    }
    if (refKind == Part::ElementRef)
        message.addPart(name, refKind, element, position);
    else
        message.addPart(name, refKind, &typeId, position, builtinName);
    message.addExtElement(extensibilityId);
    getNextElement(true);
    if (elementKind_ == DOCUMENTATION)
        parseDoc();
}

PortType* WsdlParser::parsePortType()
{
    if (elementKind_ != PORT_TYPE)
        return nullptr;
    auto portType = std::make_unique<PortType>(this);
    portType->setNamespace(namespaces_.intern(tnsUri_));
    readNameAndExtensions(*portType, "");
    if (portType->getName().empty())
        error("syntax error <PortType> name required", 0);
    getNextElement(true);
    if (elementKind_ == DOCUMENTATION)
        portType->setDocumentation(parseDoc());
    while (elementKind_ == OPERATION)
        portType->addOperation(parseOperation(portType.get()));
    readExtensibilityElements(*portType, PORT_TYPE);
    indexPortType(*portType);
    portTypes_.push_back(std::move(portType));
    return portTypes_.back().get();
}

// The name, and prefixed attributes for the extension handlers; an attribute
// without prefix other than those and the one accepted is ignored.
void WsdlParser::readNameAndExtensions(WsdlElement& element, const std::string& accepted)
{
    for (int i = 0; i < xpp_->getAttributeCount(); ++i) {
        const std::string& attribute = xpp_->getAttributeName(i);
        const std::string& prefix = xpp_->getAttributePrefix(i);
        if (!prefix.empty())
            element.addExtAttribute(handleExtensibilityAttribute(attribute, prefix));
        else if (attribute == "name")
            element.setName(xpp_->getAttributeValue(i));
        else if (attribute != accepted)
            ignoreAttribute(attribute);
    }
}

std::unique_ptr<Operation> WsdlParser::parseOperation(PortType* portType)
{
    auto operation = std::make_unique<Operation>(this, portType);
    if (elementKind_ != OPERATION)
        error("syntax error", 0);
    readNameAndExtensions(*operation, "parameterOrder");
    if (operation->getName().empty())
        error("syntax error <operation> name required", 0);
    getNextElement(true);
    if (elementKind_ == DOCUMENTATION)
        operation->setDocumentation(parseDoc());

    // input then output, or output then input; the faults follow.
    const int first = elementKind_;
    if (first == INPUT || first == OUTPUT) {
        const int second = first == INPUT ? OUTPUT : INPUT;
        readOperationMessage(*operation, first);
        if (elementKind_ == second)
            readOperationMessage(*operation, second);
        while (elementKind_ == FAULT)
            readOperationMessage(*operation, FAULT);
    }
    if (elementKind_ == DOCUMENTATION)
        operation->setDocumentation(parseDoc());
    readExtensibilityElements(*operation, OPERATION);
    return operation;
}

// A child without a message names none: it is refused like an unknown one
// rather than taken for a message with an empty name.
void WsdlParser::readOperationMessage(Operation& operation, int kind)
{
    const std::string& name = xpp_->getAttributeValue("", "message");
    Schema::QualifiedName reference(name);
    reference.setNamespace(referencedNamespace(reference));
    Message* message = name.empty() ? nullptr : getMessageOrCreate(reference);
    // While every message is defined, as in most descriptions, the message
    // is not read: out of cache once there are thousands.
    if (message != nullptr && undefinedMessages_ != 0 && !message->isDefined())
        messageReferences_.try_emplace(message, here());
    const int role = kind == INPUT ? Operation::Input : kind == OUTPUT ? Operation::Output : Operation::Fault;
    operation.setMessage(message, role);
    operation.setAddressing(role, xpp_->getAttributeValue("", "name"), AddressingMarks::actionOf(*xpp_));
    getNextElement(true);
}

void WsdlParser::parseBinding()
{
    auto binding = std::make_unique<Binding>(this);
    if (elementKind_ != BINDING)
        error("syntax error", 0);
    binding->setNamespace(namespaces_.intern(tnsUri_));
    for (int i = 0; i < xpp_->getAttributeCount(); ++i) {
        const std::string& attribute = xpp_->getAttributeName(i);
        const bool plain = xpp_->getAttributePrefix(i).empty();
        if (plain && attribute == "name") {
            binding->setName(xpp_->getAttributeValue(i));
        } else if (plain && attribute == "type") {
            const Schema::QualifiedName type(xpp_->getAttributeValue(i));
            PortType* portType = getPortType(type);
            if (portType == nullptr)
                error("Unknown port type " + type.getLocalName(), 0);
            binding->setPortType(portType);
        } else if (!plain) {
            binding->addExtAttribute(handleExtensibilityAttribute(attribute, xpp_->getAttributePrefix(i)));
        } else {
            ignoreAttribute(attribute);
        }
    }
    policyOwner_ = binding->getName();
    getNextElement(true);
    if (elementKind_ == DOCUMENTATION)
        binding->setDocumentation(parseDoc());
    while (elementKind_ == EXTENSIBILITY) {
        if (addressing_.readMark(*xpp_, binding.get())) {
            getNextElement(true);
            continue;
        }
        const int id = handleExtensibilityElement(BINDING);
        binding->setProtocolElementId(id);
        binding->addExtElement(id);
        if (const WsdlExtensionHandler* handler = getExtensionHandler(id))
            binding->setProtocolNamespace(handler->getNamespace());
        getNextElement(true);
    }
    while (elementKind_ == OPERATION)
        parseBindingOperation(*binding);
    policyOwner_.clear();
    // Linked once complete, so that nothing refers to a binding that failed.
    if (binding->getPortType() != nullptr)
        binding->getPortType()->addBinding(binding.get());
    indexBinding(*binding);
    bindings_.push_back(std::move(binding));
}

// A binding without a port type gets records without operations.
void WsdlParser::parseBindingOperation(Binding& binding)
{
    Schema::QualifiedName name;
    for (int i = 0; i < xpp_->getAttributeCount(); ++i) {
        if (xpp_->getAttributeName(i) == "name" && xpp_->getAttributePrefix(i).empty())
            name = Schema::QualifiedName(xpp_->getAttributeValue(i));
        else if (xpp_->getAttributePrefix(i).empty())
            ignoreAttribute(xpp_->getAttributeName(i));
        else
            handleExtensibilityAttribute(xpp_->getAttributeName(i), xpp_->getAttributePrefix(i));
    }
    const int index = binding.addOperation(name);
    getNextElement(true);
    readBindingIds(binding, index, Binding::OperationGroup);
    if (elementKind_ == DOCUMENTATION)
        parseDoc();
    if (elementKind_ == INPUT) {
        getNextElement(true);
        readBindingIds(binding, index, Binding::InputGroup);
    }
    if (elementKind_ == OUTPUT) {
        getNextElement(true);
        readBindingIds(binding, index, Binding::OutputGroup);
    }
    while (elementKind_ == FAULT) {
        getNextElement(true);
        readBindingIds(binding, index, Binding::FaultGroup);
    }
}

void WsdlParser::readBindingIds(Binding& binding, int index, Binding::Group group)
{
    while (elementKind_ == EXTENSIBILITY) {
        const int id = handleExtensibilityElement(OPERATION);
        if (id != 0)
            binding.addBindingId(index, group, id);
        getNextElement(true);
    }
}

void WsdlParser::parseService()
{
    if (elementKind_ != SERVICE)
        error("Syntax error", 0);
    auto service = std::make_unique<Service>(this);
    service->setNamespace(namespaces_.intern(tnsUri_));
    for (int i = 0; i < xpp_->getAttributeCount(); ++i) {
        if (xpp_->getAttributeName(i) == "name" && xpp_->getAttributePrefix(i).empty())
            service->setName(xpp_->getAttributeValue(i));
        else if (xpp_->getAttributePrefix(i).empty())
            ignoreAttribute(xpp_->getAttributeName(i));
        else
            service->addExtAttribute(handleExtensibilityAttribute(xpp_->getAttributeName(i), xpp_->getAttributePrefix(i)));
    }
    getNextElement(true);
    if (elementKind_ == DOCUMENTATION)
        service->setDocumentation(parseDoc());
    while (elementKind_ == PORT) {
        const std::string name = xpp_->getAttributeValue("", "name");
        const Schema::QualifiedName bindingName(xpp_->getAttributeValue("", "binding"));
        Binding* binding = getBinding(bindingName);
        if (binding == nullptr)
            portReferences_.push_back(PortReference{service.get(), service->getPorts().size(),
                                                    referencedNamespace(bindingName), bindingName.getLocalName(),
                                                    here()});
        getNextElement(true);
        if (elementKind_ == DOCUMENTATION)
            parseDoc();
        // The port keeps its address; other elements beside it are read and passed over.
        int address = 0;
        while (elementKind_ == EXTENSIBILITY) {
            const int id = addressing_.readMark(*xpp_, binding) ? 0 : handleExtensibilityElement(BINDING);
            if (address == 0)
                address = id;
            getNextElement(true);
        }
        service->addPort(name, binding, address);
    }
    // Linked once complete, so that nothing refers to a service that failed.
    for (const Service::Port& port : service->getPorts()) {
        if (port.binding != nullptr)
            port.binding->addService(service.get());
    }
    services_.push_back(std::move(service));
}

// An attribute the WSDL schema does not allow on the element stands outside
// the description (many tools add their own): it is passed over, and said so.
void WsdlParser::ignoreAttribute(const std::string& attribute)
{
    notice("Attribute " + attribute + " is not allowed on <" + xpp_->getName() + ">: ignored");
}

void WsdlParser::readExtensibilityElements(WsdlElement& element, int parentKind)
{
    while (elementKind_ == EXTENSIBILITY) {
        element.addExtElement(handleExtensibilityElement(parentKind));
        getNextElement(true);
    }
}

} // namespace Wsdl
