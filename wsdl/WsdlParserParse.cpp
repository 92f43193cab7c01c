// The parse driver: the step routine that classifies the next tag, the state
// machine the caller advances one element at a time, and the elements around
// the model (definitions, documentation, annotations, imports, extensibility
// elements and attributes).

#include "wsdl/WsdlParser.h"

#include "net/DocumentLocation.h"
#include "net/FetchUri.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaParser.h"
#include "schema/ScopedValue.h"
#include "wsdl/SoapExtension.h"
#include "wsdl/WsdlNamespaces.h"
#include "xml/SourceSpot.h"
#include "xml/XmlPullParser.h"
#include "xml/XmlPullParserException.h"

#include <algorithm>
#include <exception>
#include <ostream>
#include <string_view>

namespace Wsdl {

namespace {

// Imports of imports of ... end here, whatever a server makes up.
const int MaxImportDepth = 32;

// What a message about a wrong root element adds.
const std::string RootRule =
    std::string(": the root element of a WSDL 1.1 document is definitions in the namespace ") + WsdlUri;

// Views, so that a look-up compares lengths before bytes.
struct TagKind {
    std::string_view name;
    int kind;
};

const TagKind TagKinds[] = {
    {"definitions", WsdlParser::DEFINITION}, {"documentation", WsdlParser::DOCUMENTATION},
    {"annotation", WsdlParser::ANNOTATION},  {"import", WsdlParser::IMPORT},
    {"schema", WsdlParser::SCHEMA},          {"types", WsdlParser::TYPES},
    {"message", WsdlParser::MESSAGE},        {"port", WsdlParser::PORT},
    {"operation", WsdlParser::OPERATION},    {"portType", WsdlParser::PORT_TYPE},
    {"input", WsdlParser::INPUT},            {"output", WsdlParser::OUTPUT},
    {"fault", WsdlParser::FAULT},            {"part", WsdlParser::PART},
    {"binding", WsdlParser::BINDING},        {"service", WsdlParser::SERVICE},
};

// End tags that close a top-level element (or the documentation and
// annotation that may stand anywhere); a "binding" end tag after a foreign
// element is the end of that element's namesake, not of the WSDL binding.
bool endsElement(std::string_view name, int kind)
{
    static constexpr std::string_view closing[] = {"types", "message", "documentation", "annotation",
                                                   "portType", "import", "service"};
    if (name == "binding")
        return kind != WsdlParser::EXTENSIBILITY;
    return std::find(std::begin(closing), std::end(closing), name) != std::end(closing);
}

} // namespace

// One spelling per document, so that an import that goes round is noticed.
std::string WsdlParser::documentKey(const std::string& location)
{
    std::string key = resolveLocation(std::string(), location);
    if (key.find("://") == std::string::npos)
        std::replace(key.begin(), key.end(), '\\', '/');
    return key;
}

int WsdlParser::parse()
{
    try {
        const int kind = getNextElement(false);
        switch (kind) {
        case START:
            break;
        case DEFINITION:
            parseDefinitions();
            getNextElement(true);
            break;
        case DOCUMENTATION:
            definitionsDoc_ = parseDoc();
            break;
        case ANNOTATION:
            parseAnnotation();
            break;
        case IMPORT:
            parseImport();
            break;
        case TYPES:
            parseTypes();
            break;
        case MESSAGE:
            parseMessage();
            break;
        case PORT_TYPE:
            parsePortType();
            break;
        case BINDING:
            parseBinding();
            break;
        case EXTENSIBILITY:
            handleExtensibilityElement(DEFINITION);
            getNextElement(true);
            break;
        case SERVICE:
            parseService();
            break;
        case END:
            if (state_ != END && importDepth_ == 0) {
                settleReferences();
                resolveHeaders();
                noteMissingSoapBinding();
                // Read: the reader keeps its positions, the file is let go (on Windows an open
                // file cannot be replaced or removed while a caller keeps the parser).
                document_.close();
            }
            break;
        default:
            error("Syntax error at " + tagAtHand() + (state_ == START ? RootRule : ": not allowed here"), 0);
        }
        state_ = kind;
        return elementKind_;
    } catch (const WsdlException& failure) {
        return endParse(failure.description, failure.line, failure.column, failure.document);
    } catch (const XmlPullParserException& failure) {
        return endParse(failure.description, failure.line, failure.column);
    } catch (const Schema::SchemaParserException& failure) {
        return endParse(failure.getDescription(), failure.getLine(), failure.getColumn(), failure.getDocument());
    } catch (const std::exception& failure) {
        return endParse(std::string("Wsdl Parser Exception : ") + failure.what(), xpp_->getLineNumber(),
                        xpp_->getColumnNumber());
    }
}

// Header messages are settled once every message of the document is known.
void WsdlParser::resolveHeaders()
{
    for (const SoapExtension* soap : {soapExtension_, soap12Extension_}) {
        const std::string missing = const_cast<SoapExtension*>(soap)->resolveHeaders();
        if (!missing.empty())
            error("Unknown message " + missing + " named by a " + soap->getNamespacePrefix() + ":header", 0);
    }
}

// A document without a SOAP binding (HTTP only, or its bindings in
// documents not read) is valid, but nothing can be generated from it: the
// reader of the messages is told so.
void WsdlParser::noteMissingSoapBinding() const
{
    for (const auto& binding : bindings_) {
        if (binding->getProtocolNamespace() == SoapBindingUri || binding->getProtocolNamespace() == Soap12BindingUri)
            return;
    }
    *diagnostics_ << locatedMessage(SourceSpot{getDocumentName(), 0, 0},
                                    std::string("No SOAP binding (") + SoapBindingUri + " or " + Soap12BindingUri +
                                        ") in the document: no operation can be generated")
                  << std::endl;
}

// Every error ends the parse with its message at the spot of the fault. The
// exception's own prefix stands before the message once, not twice.
int WsdlParser::endParse(const std::string& description, int line, int column, const std::string& document)
{
    error_ = true;
    state_ = END;
    elementKind_ = END;
    document_.close();
    SourceSpot spot{document.empty() ? getDocumentName() : document, line, column};
    if (line <= 0) {
        spot.line = xpp_->getLineNumber();
        spot.column = xpp_->getColumnNumber();
    }
    *diagnostics_ << locatedMessage(spot, reportText(description)) << std::endl;
    return END;
}

int WsdlParser::getNextElement(bool advance)
{
    if (elementKind_ == END)
        return END;
    int enteredKind = elementKind_;
    int enteredEvent = xpp_->getEventType();
    for (;;) {
        if (!advance && elementKind_ != START && elementKind_ != NONE)
            return elementKind_;
        const int event = step();
        switch (event) {
        case XmlPullParser::START_DOCUMENT:
            if (elementKind_ != START)
                error("Syntax error at the start", 0);
            break;
        case XmlPullParser::START_TAG: {
            const std::string_view ns = xpp_->getNamespace();
            const int kind = ns != WsdlUri && ns != Schema::SchemaUri ? static_cast<int>(EXTENSIBILITY)
                                                                      : classify(xpp_->getName());
            if (elementKind_ == START)
                checkRoot(kind);
            elementKind_ = kind;
            break;
        }
        case XmlPullParser::END_TAG: {
            const std::string_view name = xpp_->getName();
            if (name == "definitions") {
                elementKind_ = END;
            } else if (endsElement(name, elementKind_)) {
                elementKind_ = NONE;
                return NONE;
            } else {
                // Inner end tags are passed over: go on as if entered here.
                enteredKind = elementKind_;
                enteredEvent = event;
                continue;
            }
            break;
        }
        case XmlPullParser::TEXT:
        case XmlPullParser::CDSECT:
        case XmlPullParser::ENTITY_REF:
        case XmlPullParser::PROCESSING_INSTRUCTION:
        case XmlPullParser::COMMENT:
        case XmlPullParser::IGNORABLE_WHITESPACE:
            break;
        case XmlPullParser::DOCDECL:
            error("Doc Declaration ??", 0);
            break;
        default:
            error("Unknown Wsdl tag", 0);
        }
        if (elementKind_ != enteredKind || event != enteredEvent)
            return elementKind_;
    }
}

// Before the root element the reader goes token by token, so that a document
// type declaration is seen (and refused) rather than passed over; whitespace
// there is dropped like text. Inside, it moves from tag to tag.
int WsdlParser::step()
{
    if (elementKind_ == START)
        return xpp_->nextToken();
    return xpp_->nextTag();
}

// A root other than definitions is no WSDL document: one the parse would
// read as a top-level element (a foreign one, a message ...) is refused
// here, at its tag, instead of at the end of the document.
void WsdlParser::checkRoot(int kind)
{
    static constexpr int readAtTopLevel[] = {EXTENSIBILITY, DOCUMENTATION, ANNOTATION, IMPORT, TYPES,
                                             MESSAGE,       PORT_TYPE,     BINDING,    SERVICE};
    if (std::find(std::begin(readAtTopLevel), std::end(readAtTopLevel), kind) != std::end(readAtTopLevel))
        error("Unknown Wsdl tag " + tagAtHand() + RootRule, 0);
}

// The tag the reader stands on as a message names it, with its namespace:
// "wsdl:definitions (namespace urn:x)", "html (no namespace)", "</types>".
std::string WsdlParser::tagAtHand() const
{
    const std::string& prefix = xpp_->getPrefix();
    const std::string name = prefix.empty() ? xpp_->getName() : prefix + ":" + xpp_->getName();
    if (xpp_->getEventType() == XmlPullParser::END_TAG)
        return "</" + name + ">";
    const std::string& ns = xpp_->getNamespace();
    return name + (ns.empty() ? " (no namespace)" : " (namespace " + ns + ")");
}

int WsdlParser::classify(const std::string& localName)
{
    for (const TagKind& tag : TagKinds) {
        if (localName == tag.name)
            return tag.kind;
    }
    error("Unknown Tag " + localName, 0);
    return NONE;
}

void WsdlParser::parseDefinitions()
{
    if (elementKind_ != DEFINITION)
        error("syntax error", 0);
    tnsUri_ = xpp_->getAttributeValue("", "targetNamespace");
    const int depth = xpp_->getDepth();
    for (int i = xpp_->getNamespaceCount(depth) - 1; i >= xpp_->getNamespaceCount(depth - 1); --i) {
        const std::string& uri = xpp_->getNamespaceUri(i);
        const std::string& prefix = xpp_->getNamespacePrefix(i);
        if (uri == tnsUri_)
            tnsPrefix_ = prefix;
        for (std::size_t j = 0; j < handlers_.size(); ++j) {
            if (handlers_[j].handler->isNamespaceHandler(uri))
                loadExtensionSchema(j, prefix);
        }
    }
    const int count = xpp_->getAttributeCount();
    if (count < 0)
        error("Atleast a targetNamespace attribute is needed", 0);
    for (int i = 0; i < count; ++i) {
        const std::string& name = xpp_->getAttributeName(i);
        if (name == "name")
            name_ = xpp_->getAttributeValue(i);
        else if (name != "targetNamespace")
            handleExtensibilityAttribute(name, xpp_->getAttributePrefix(i));
    }
}

// The handler's schema is read once, when its namespace is first declared.
void WsdlParser::loadExtensionSchema(std::size_t handlerIndex, const std::string& prefix)
{
    HandlerEntry& entry = handlers_[handlerIndex];
    WsdlExtensionHandler& handler = *entry.handler;
    handler.setNamespacePrefix(prefix);
    handler.setStartId(static_cast<int>(handlerIndex) * ElementIdBlockSize + 1);
    if (entry.schema != nullptr)
        return;
    auto schema = loadBuiltInSchema(handler.getExtensibilitySchema(), handler.getNamespace(), schemaParsers_[0].get());
    entry.schema = schema.get();
    handler.setSchemaParser(std::move(schema));
    handler.setWsdlParser(this);
}

const std::string* WsdlParser::parseDoc()
{
    if (elementKind_ != DOCUMENTATION)
        error("syntax error", 0);
    documentation_.emplace_back();
    std::string& text = documentation_.back();
    const int depth = xpp_->getDepth();
    for (;;) {
        const int event = xpp_->nextToken();
        if (event == XmlPullParser::END_DOCUMENT || (event == XmlPullParser::END_TAG && xpp_->getDepth() == depth))
            break;
        // An entity or a CDATA section is part of the text as much as the text around it.
        if (event == XmlPullParser::TEXT || event == XmlPullParser::CDSECT || event == XmlPullParser::ENTITY_REF)
            text += xpp_->getTextView();
    }
    getNextElement(true);
    return &text;
}

void WsdlParser::parseAnnotation()
{
    if (elementKind_ != ANNOTATION)
        error("syntax error", 0);
    xpp_->skipSubTree();
    getNextElement(true);
}

void WsdlParser::parseImport()
{
    if (elementKind_ != IMPORT)
        error("syntax error", 0);
    const std::string location = xpp_->getAttributeValue("", "location");
    const std::string ns = xpp_->getAttributeValue("", "namespace");
    // A document of another namespace is followed as one of the target
    // namespace is: its messages, port types and bindings keep their own.
    if (ns == tnsUri_ || !location.empty()) {
        if (location.empty())
            error("location is a required attribute for <import>", 0);
        // A relative location names a document beside the importing one.
        const std::string resolved = resolveLocation(baseLocation_, location);
        if (documentsRead_.insert(documentKey(resolved)).second) {
            includeDocument(location, resolved);
            imports_.emplace_back(location, ns);
            elementKind_ = IMPORT;
            xpp_->skipSubTree();
        }
    }
    getNextElement(true);
}

// Reads the imported document into the same model with a reader of its own,
// then goes back to the importing document.
void WsdlParser::includeDocument(const std::string& location, const std::string& resolved)
{
    if (importDepth_ >= MaxImportDepth)
        error("Imports nested too deeply at " + location, 0);
    std::string fileName;
    std::string failure;
    if (!fetchUri(localPathOf(resolved), fileName, failure))
        error("Error while opening the included wsdl " + location + ": " + failure, 0);
    // An import may name a schema document (tools write them so): it joins
    // the schemas as an embedded one would.
    const std::string root = rootElementOf(fileName);
    if (root == Schema::SchemaUri) {
        importSchemaDocument(resolved);
        return;
    }
    if (root != WsdlUri) {
        notice("The imported document " + location + " is neither WSDL nor XML Schema: not read");
        return;
    }
    auto document = std::make_unique<IncludedDocument>();
    document->stream.open(fileName, std::ios::binary);
    document->reader = std::make_unique<XmlPullParser>(document->stream);
    document->reader->setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
    document->reader->require(XmlPullParser::START_DOCUMENT, "", "");
    XmlPullParser* reader = document->reader.get();
    std::ifstream& stream = document->stream;
    includedDocuments_.push_back(std::move(document));
    {
        // What describes the importing document stays its own.
        const ScopedValue<std::string> name(name_, name_);
        const ScopedValue<std::string> ns(tnsUri_, tnsUri_);
        const ScopedValue<std::string> prefix(tnsPrefix_, tnsPrefix_);
        const ScopedValue<const std::string*> documentation(definitionsDoc_, definitionsDoc_);
        const ScopedValue<std::string> base(baseLocation_, baseLocationOf(resolved));
        const ScopedValue<std::string> document(currentDocument_, resolved);
        const ScopedValue<int> depth(importDepth_, importDepth_ + 1);
        const ScopedValue<XmlPullParser*> current(xpp_, reader);
        elementKind_ = START;
        state_ = START;
        while (state_ != END)
            parse();
    }
    // Read: its reader stays for the positions it holds, its file and input block go.
    stream.close();
    reader->releaseInput();
    // The imported document's error is on record; this says where it was imported.
    if (error_)
        error("Error in the included wsdl " + location, 0);
}

// The namespace of the document's root element when it is wsdl:definitions
// or xsd:schema, else empty. A document that is no well-formed XML counts as
// WSDL: the parse reports where it breaks.
std::string WsdlParser::rootElementOf(const std::string& fileName)
{
    std::ifstream stream(fileName, std::ios::binary);
    XmlPullParser reader(stream);
    try {
        reader.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
        while (reader.next() != XmlPullParser::START_TAG) {
            if (reader.getEventType() == XmlPullParser::END_DOCUMENT)
                return WsdlUri;
        }
        if (reader.getNamespace() == WsdlUri && reader.getName() == "definitions")
            return WsdlUri;
        if (reader.getNamespace() == Schema::SchemaUri && reader.getName() == "schema")
            return Schema::SchemaUri;
        return std::string();
    } catch (const XmlPullParserException&) {
        return WsdlUri;
    }
}

void WsdlParser::importSchemaDocument(const std::string& resolved)
{
    const std::size_t first = schemaParsers_.size();
    readSchema(std::make_unique<Schema::SchemaParser>(resolved, std::string(), *diagnostics_, schemaDirectory_),
               "Error parsing the imported schema " + resolved);
    linkSchemas(first);
}

int WsdlParser::handleExtensibilityElement(int parentKind)
{
    WsdlExtensionHandler* handler = findExtensionHandler(xpp_->getNamespace());
    if (handler == nullptr) {
        if (!policies_.read(*xpp_, policyOwner_))
            xpp_->skipSubTree();
        return 0;
    }
    reportsHere(*handler);
    return handler->handleElement(parentKind, *xpp_);
}

int WsdlParser::handleExtensibilityAttribute(const std::string& name, const std::string& prefix)
{
    WsdlExtensionHandler* handler = findExtensionHandler(resolvePrefix(prefix));
    if (handler == nullptr)
        return 0;
    reportsHere(*handler);
    return handler->handleAttribute(elementKind_, name, *xpp_);
}

// A handler whose schema never loaded (its namespace undeclared on
// definitions) still reports into this parser's diagnostics.
void WsdlParser::reportsHere(WsdlExtensionHandler& handler)
{
    if (!handler.hasWsdlParser())
        handler.setWsdlParser(this);
}

const std::string& WsdlParser::resolvePrefix(const std::string& prefix) const
{
    return xpp_->getNamespace(prefix);
}

} // namespace Wsdl
