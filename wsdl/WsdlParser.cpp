// The WSDL parser object: construction, set-up with the built-in schemas and
// the SOAP binding extension, the error report, the model accessors and the
// clean-up. The parse itself lives in files of its own.

#include "wsdl/WsdlParser.h"

#include "net/DocumentLocation.h"
#include "net/FetchUri.h"
#include "schema/SchemaParser.h"
#include "wsdl/SchemaFolder.h"
#include "wsdl/SoapExtension.h"
#include "wsdl/WsdlNamespaces.h"
#include "xml/SourceSpot.h"
#include "xml/XmlPullParser.h"

namespace Wsdl {

WsdlParser::DownloadCleanup::~DownloadCleanup()
{
    removeFetchedFiles();
}

WsdlParser::WsdlParser(const std::string& location, std::ostream& diagnostics, const std::string& schemaDirectory)
    : diagnostics_(&diagnostics),
      location_(location),
      schemaDirectory_(schemaDirectory),
      baseLocation_(baseLocationOf(location))
{
    std::string failure;
    if (!fetchUri(location, localFile_, failure))
        error(location + " could not be opened: " + failure, 0);
    documentsRead_.insert(documentKey(location));
    // A file that cannot be opened leaves the stream failed: the first parse
    // step then reports it through the pull parser.
    document_.open(localFile_, std::ios::binary);
    setUp();
}

WsdlParser::~WsdlParser() = default;

void WsdlParser::setUp()
{
    if (schemaDirectory_.empty())
        schemaDirectory_ = "src/schemas/";
    documentReader_ = std::make_unique<XmlPullParser>(document_);
    xpp_ = documentReader_.get();
    xpp_->setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
    xpp_->require(XmlPullParser::START_DOCUMENT, "", "");

    messages_.clear();
    bindings_.clear();
    portTypes_.clear();
    handlers_.clear();
    schemaParsers_.clear();

    schemaParsers_.push_back(loadBuiltInSchema(schemaFile(schemaDirectory_, "wsdl10.xsd"), WsdlUri));
    auto soap = std::make_unique<SoapExtension>(schemaDirectory_);
    soapExtension_ = soap.get();
    handlers_.push_back(HandlerEntry{std::move(soap), nullptr});
    auto soap12 = std::make_unique<SoapExtension>(schemaDirectory_, ElementIdBlockSize, SoapExtension::Soap12);
    soap12Extension_ = soap12.get();
    handlers_.push_back(HandlerEntry{std::move(soap12), nullptr});
    schemaParsers_.push_back(loadBuiltInSchema(soapExtension_->getEncodingSchema(), SoapEncodingUri));
}

// Without its built-in schemas the parser would misread every document (a
// SOAP binding would go unseen), so a file that does not load is an error.
std::unique_ptr<Schema::SchemaParser> WsdlParser::loadBuiltInSchema(const std::string& location,
                                                                    const std::string& ns,
                                                                    Schema::SchemaParser* imported)
{
    auto parser = std::make_unique<Schema::SchemaParser>(location, ns, *diagnostics_, schemaDirectory_);
    if (imported != nullptr)
        parser->addImport(imported);
    if (!parser->parseSchemaTag())
        error("Could not read the built-in schema " + location, 0);
    return parser;
}

void WsdlParser::error(const std::string& message, int level)
{
    if (level != 0)
        return;
    SourceSpot spot{getDocumentName(), 0, 0};
    if (xpp_ != nullptr) {
        spot.line = xpp_->getLineNumber();
        spot.column = xpp_->getColumnNumber();
    }
    failAt(spot, message);
}

void WsdlParser::failAt(const SourceSpot& spot, const std::string& message)
{
    error_ = true;
    WsdlException failure("Wsdl Parser Exception : " + message);
    failure.state = elementKind_;
    failure.document = spot.document;
    failure.line = spot.line;
    failure.column = spot.column;
    throw failure;
}

SourceSpot WsdlParser::here() const
{
    SourceSpot spot{getDocumentName(), 0, 0};
    if (xpp_ != nullptr && xpp_->getEventType() != XmlPullParser::START_DOCUMENT) {
        spot.line = xpp_->getLineNumber();
        spot.column = xpp_->getColumnNumber();
    }
    return spot;
}

void WsdlParser::notice(const std::string& message) const
{
    *diagnostics_ << locatedMessage(here(), message) << std::endl;
}

Schema::SchemaParser* WsdlParser::getSchemaParser(int position) const
{
    if (position < 0 || position >= static_cast<int>(schemaParsers_.size()))
        return nullptr;
    return schemaParsers_[static_cast<std::size_t>(position)].get();
}

void WsdlParser::releaseDocumentSchemas()
{
    for (const auto& message : messages_)
        message->forgetDeclarations();
    // The indexes hold positions of the schemas that go.
    schemasByNamespace_.forget();
    schemaLinks_ = SchemaLinks();
    schemaParsers_.resize(BuiltInSchemas);
}

void WsdlParser::releaseDocumentation()
{
    for (std::string& text : documentation_)
        std::string().swap(text);
}

bool WsdlParser::getPortTypes(PortTypeList::const_iterator& begin, PortTypeList::const_iterator& end) const
{
    if (portTypes_.empty())
        return false;
    begin = portTypes_.begin();
    end = portTypes_.end();
    return true;
}

WsdlExtensionHandler* WsdlParser::findExtensionHandler(const std::string& ns) const
{
    for (const HandlerEntry& entry : handlers_) {
        if (entry.handler->isNamespaceHandler(ns))
            return entry.handler.get();
    }
    return nullptr;
}

WsdlExtensionHandler* WsdlParser::getExtensionHandler(int elementId) const
{
    if (elementId <= 0)
        return nullptr;
    for (const HandlerEntry& entry : handlers_) {
        // A handler is given its block when the document declares its namespace.
        const int start = entry.handler->getStartId();
        if (start > 0 && start <= elementId && elementId - start < ElementIdBlockSize)
            return entry.handler.get();
    }
    return nullptr;
}

} // namespace Wsdl
