#include "wsdl/SoapExtension.h"

#include "wsdl/Message.h"
#include "schema/ComplexType.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaParser.h"
#include "schema/SchemaValidator.h"
#include "schema/ValueContainer.h"
#include "wsdl/SchemaFolder.h"
#include "wsdl/WsdlNamespaces.h"
#include "wsdl/WsdlParser.h"
#include "xml/XmlPullParser.h"

#include <algorithm>
#include <iostream>

namespace Wsdl {

namespace {

// The text of the attribute as read; null when the element has none of that name.
const std::string* attributeTextOf(Schema::ValueContainer& values, const std::string& name)
{
    const Schema::ValueContainer* attribute = values.getAttributeContainer(name, false);
    return attribute != nullptr ? &attribute->getText() : nullptr;
}

// The same from the start tag the pull parser stands on, by unprefixed name.
const std::string* startTagText(const XmlPullParser& xpp, const std::string& name)
{
    for (int i = 0; i < xpp.getAttributeCount(); ++i) {
        if (xpp.getAttributeName(i) == name && xpp.getAttributeNamespace(i).empty())
            return &xpp.getAttributeValue(i);
    }
    return nullptr;
}

Schema::QualifiedName attributeQName(Schema::ValueContainer& values, const std::string& name)
{
    const Schema::ValueContainer* attribute = values.getAttributeContainer(name, false);
    if (attribute == nullptr)
        return Schema::QualifiedName();
    const Schema::QualifiedName* qname = attribute->getValue<Schema::QualifiedName>();
    return qname != nullptr ? *qname : Schema::QualifiedName(attribute->getText());
}

// Elements of the type have no content, and the validator keeps the text of
// each of their attributes as it was read.
bool isPlainType(const Schema::ComplexType& type, const Schema::SchemaParser& schema)
{
    if (type.getBaseTypeId() != Schema::XSD_ANYTYPE || type.getContentType() == Schema::XsdType::Simple ||
        type.getContentModel() != nullptr)
        return false;
    const auto keepsText = [&](const Schema::Attribute& attribute) {
        return attribute.getType() != Schema::XSD_ANY &&
            Schema::SchemaParser::isBasicType(schema.getBasicContentType(attribute.getType()));
    };
    return std::all_of(type.getAttributes().begin(), type.getAttributes().end(), keepsText);
}

// What the validator would pass without a word: an element written as one
// tag whose attributes are all unprefixed and declared by its plain type,
// the required ones with a value.
bool passesUnchecked(const XmlPullParser& xpp, const Schema::ComplexType& type)
{
    if (!xpp.isEmptyElementTag())
        return false;
    for (int i = 0; i < xpp.getAttributeCount(); ++i) {
        if (!xpp.getAttributeNamespace(i).empty() || type.getAttribute(xpp.getAttributeName(i)) == nullptr)
            return false;
    }
    for (const Schema::Attribute& attribute : type.getAttributes()) {
        if (!attribute.isRequired())
            continue;
        const std::string* text = startTagText(xpp, attribute.getName());
        if (text == nullptr || text->empty())
            return false;
    }
    return true;
}

int styleOf(const std::string* style, int absent)
{
    if (style == nullptr)
        return absent;
    return *style == "rpc" ? SoapExtension::Rpc : SoapExtension::Document;
}

// After a validation error the pull parser may stand anywhere inside the
// element; the WSDL parser reads on from the element's end tag.
void finishElement(XmlPullParser& xpp, int depth)
{
    while (xpp.getEventType() != XmlPullParser::END_DOCUMENT
           && !(xpp.getEventType() == XmlPullParser::END_TAG && xpp.getDepth() == depth))
        xpp.next();
}

} // namespace

class SoapExtension::AttributeTexts {
public:
    explicit AttributeTexts(Schema::ValueContainer& values) : values_(&values) {}
    explicit AttributeTexts(const XmlPullParser& startTag) : startTag_(&startTag) {}

    // Null when the element has no attribute of the name.
    const std::string* of(const std::string& name) const
    {
        return values_ != nullptr ? attributeTextOf(*values_, name) : startTagText(*startTag_, name);
    }
    // Empty when the element has none.
    std::string copyOf(const std::string& name) const
    {
        const std::string* text = of(name);
        return text != nullptr ? *text : std::string();
    }

private:
    Schema::ValueContainer* values_ = nullptr;
    const XmlPullParser* startTag_ = nullptr;
};

SoapExtension::SoapExtension(const std::string& schemaDirectory, int idBlockSize, Version version)
    : version_(version),
      namespace_(version == Soap12 ? Soap12BindingUri : SoapBindingUri),
      idBlockSize_(idBlockSize),
      schemaDirectory_(schemaDirectory)
{
}

SoapExtension::~SoapExtension() = default;

std::string SoapExtension::getNamespace() const
{
    return namespace_;
}

bool SoapExtension::isNamespaceHandler(const std::string& ns) const
{
    return ns == namespace_;
}

std::string SoapExtension::getExtensibilitySchema() const
{
    return schemaFile(schemaDirectory_, version_ == Soap12 ? "soap12.xsd" : "soap.xsd");
}

std::string SoapExtension::getEncodingSchema() const
{
    return schemaFile(schemaDirectory_, "soap-encoding.xsd");
}

void SoapExtension::setSchemaParser(std::unique_ptr<Schema::SchemaParser> parser)
{
    validator_.reset();
    plainTypes_.clear();
    schemaParser_ = std::move(parser);
}

// Made on first use, so that it reports to the stream of the WSDL parser
// set after the schema.
Schema::SchemaValidator& SoapExtension::validator()
{
    if (!validator_)
        validator_ = std::make_unique<Schema::SchemaValidator>(*schemaParser_, reportStream());
    return *validator_;
}

std::ostream& SoapExtension::reportStream() const
{
    return wsdlParser_ != nullptr ? wsdlParser_->getDiagnostics() : std::cerr;
}

int SoapExtension::handleElement(int parentKind, XmlPullParser& xpp)
{
    if (schemaParser_ == nullptr) {
        reportError("Could not parse soap extensibility elements");
        xpp.skipSubTree();
        return 0;
    }
    if (static_cast<int>(elements_.size()) >= idBlockSize_) {
        reportError("Too many soap extensibility elements");
        xpp.skipSubTree();
        return 0;
    }
    const std::string tag = xpp.getName();
    const Schema::Element* declaration = nullptr;
    for (const Schema::Element& element : schemaParser_->getElements()) {
        if (element.getName() == tag) {
            declaration = &element;
            break;
        }
    }
    if (declaration == nullptr) {
        reportError("Unknown element");
        xpp.skipSubTree();
        return 0;
    }

    const int typeId = declaration->getType();
    const Schema::ComplexType* type = plainType(typeId);
    if (type != nullptr && passesUnchecked(xpp, *type)) {
        const int id = recordPlain(tag, typeId, parentKind, AttributeTexts(xpp));
        xpp.next(); // to the end tag, as validation would
        return id;
    }
    const int depth = xpp.getDepth();
    Schema::ValueContainer values(typeId, schemaParser_.get());
    try {
        validator().validate(xpp, typeId, values);
    } catch (const Schema::SchemaParserException& failure) {
        reportError(failure.getDescription() + "Encountered error while validating {" + namespace_ + "}:" + tag);
        finishElement(xpp, depth);
    }
    return record(tag, typeId, parentKind, values);
}

const Schema::ComplexType* SoapExtension::plainType(int typeId)
{
    for (const auto& known : plainTypes_) {
        if (known.first == typeId)
            return known.second;
    }
    const auto* type = dynamic_cast<const Schema::ComplexType*>(schemaParser_->getType(typeId));
    if (type != nullptr && !isPlainType(*type, *schemaParser_))
        type = nullptr;
    plainTypes_.emplace_back(typeId, type);
    return type;
}

int SoapExtension::record(const std::string& tag, int typeId, int parentKind, Schema::ValueContainer& values)
{
    if (tag == "header")
        return recordHeader(typeId, values);
    return recordPlain(tag, typeId, parentKind, AttributeTexts(values));
}

int SoapExtension::recordPlain(std::string_view tag, int typeId, int parentKind, const AttributeTexts& attributes)
{
    if (tag == "binding") {
        const std::string* transport = attributes.of("transport");
        httpTransport_ = transport == nullptr || *transport == SoapHttpTransportUri;
        defaultStyle_ = styleOf(attributes.of("style"), Document);
        return addElement(typeId, BindingElement, 0);
    }
    if (tag == "operation") {
        operations_.push_back(OperationRecord{parentKind, attributes.copyOf("soapAction"),
                                              styleOf(attributes.of("style"), defaultStyle_)});
        return addElement(typeId, OperationElement, static_cast<int>(operations_.size()) - 1);
    }
    if (tag == "body") {
        const std::string* use = attributes.of("use");
        bodies_.push_back(BodyRecord{use != nullptr && std::string_view(*use) != "literal" ? 1 : 0,
                                     sharedAttribute(attributes, "encodingStyle"),
                                     sharedAttribute(attributes, "namespace")});
        return addElement(typeId, BodyElement, static_cast<int>(bodies_.size()) - 1);
    }
    if (tag == "fault") {
        // A fault is not recorded; it answers with the element before it.
        return elements_.empty() ? 0 : startId_ + static_cast<int>(elements_.size()) - 1;
    }
    if (tag == "address") {
        addressLocations_.push_back(attributes.copyOf("location"));
        return addElement(typeId, AddressElement, static_cast<int>(addressLocations_.size()) - 1);
    }
    return 0;
}

Schema::SharedText SoapExtension::sharedAttribute(const AttributeTexts& attributes, const std::string& name)
{
    const std::string* text = attributes.of(name);
    return text != nullptr ? bodyTexts_.intern(*text) : Schema::SharedText();
}

int SoapExtension::recordHeader(int typeId, Schema::ValueContainer& values)
{
    const Schema::QualifiedName name = attributeQName(values, "message");
    // The message may be defined further on: it is named now and settled
    // by resolveHeaders.
    Message* message = wsdlParser_ != nullptr && !name.getLocalName().empty()
        ? wsdlParser_->getMessageOrCreate(name)
        : nullptr;
    if (message == nullptr) {
        reportError("Unkown message " + name.getLocalName());
        return 0;
    }
    const AttributeTexts attributes(values);
    const std::string* parts = attributes.of("parts");
    const std::string part = parts != nullptr ? *parts : attributes.copyOf("part");
    headers_.push_back(HeaderRecord{-1, message, part, !message->isDefined()});
    if (!headers_.back().pending)
        findHeaderPart(headers_.back());
    return addElement(typeId, HeaderElement, static_cast<int>(headers_.size()) - 1);
}

void SoapExtension::findHeaderPart(HeaderRecord& header) const
{
    header.partIndex = header.message->getPartIndex(header.partName);
    if (header.partIndex < 0)
        reportError("Unkown part type :" + header.partName);
}

std::string SoapExtension::resolveHeaders()
{
    for (HeaderRecord& header : headers_) {
        if (!header.pending)
            continue;
        if (!header.message->isDefined())
            return header.message->getName();
        header.pending = false;
        findHeaderPart(header);
    }
    return std::string();
}

int SoapExtension::addElement(int typeId, Kind kind, int index)
{
    elements_.push_back(ElementRecord{typeId, kind, index});
    return startId_ + static_cast<int>(elements_.size()) - 1;
}

int SoapExtension::handleAttribute(int, const std::string&, XmlPullParser&)
{
    return 0;
}

// Only ids this handler gave out: none below its first id, none past its
// last, never the 0 that stands for no element.
const SoapExtension::ElementRecord* SoapExtension::elementOf(int id) const
{
    if (id <= 0 || id < startId_ || id - startId_ >= static_cast<int>(elements_.size()))
        return nullptr;
    return &elements_[static_cast<std::size_t>(id - startId_)];
}

template <typename Record>
const Record* SoapExtension::recordOf(int id, Kind kind, const std::vector<Record>& records) const
{
    const ElementRecord* element = elementOf(id);
    if (element == nullptr || element->kind != kind || element->index < 0)
        return nullptr;
    return &records[static_cast<std::size_t>(element->index)];
}

int SoapExtension::getExtElementType(int id) const
{
    const ElementRecord* element = elementOf(id);
    return element != nullptr ? element->typeId : 0;
}

int SoapExtension::getExtAttributeType(int id) const
{
    return getExtElementType(id);
}

bool SoapExtension::getOperationInfo(int id, std::string& soapAction, int& style) const
{
    const OperationRecord* operation = recordOf(id, OperationElement, operations_);
    if (operation == nullptr)
        return false;
    soapAction = operation->soapAction;
    style = operation->style;
    return true;
}

bool SoapExtension::getHeaderInfo(int id, int& partIndex, Message*& message) const
{
    const HeaderRecord* header = recordOf(id, HeaderElement, headers_);
    if (header == nullptr)
        return false;
    partIndex = header->partIndex;
    message = header->message;
    return true;
}

bool SoapExtension::getBodyInfo(int id, int& use, std::string& encodingStyle, std::string& ns) const
{
    const BodyRecord* body = recordOf(id, BodyElement, bodies_);
    if (body == nullptr)
        return false;
    use = body->use;
    encodingStyle = body->encodingStyle.str();
    ns = body->ns.str();
    return true;
}

bool SoapExtension::getAddressLocation(int id, std::string& location) const
{
    const std::string* address = recordOf(id, AddressElement, addressLocations_);
    if (address == nullptr)
        return false;
    location = *address;
    return true;
}

bool SoapExtension::isSoapHeader(int id) const
{
    return recordOf(id, HeaderElement, headers_) != nullptr;
}

void SoapExtension::reportError(const std::string& message) const
{
    if (wsdlParser_ != nullptr) {
        wsdlParser_->notice("Soap Processing  " + message);
        return;
    }
    std::cerr << "Soap Processing  " << message << std::endl;
}

} // namespace Wsdl
