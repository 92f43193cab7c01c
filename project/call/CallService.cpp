// One reading of the project's WSDL document for the call window, kept
// until the document changes on disk.
#include "project/call/CallService.h"

#include "generator/model/ServiceView.h"
#include "generator/model/ServiceViewReader.h"
#include "schema/SchemaParserException.h"
#include "wsdl/WsdlException.h"
#include "wsdl/WsdlParser.h"
#include "xml/SourceSpot.h"
#include "xml/XmlPullParserException.h"

#include <ostream>
#include <system_error>
#include <utility>

CallService::CallService(std::string wsdlPath, std::string schemaFolder)
    : wsdlPath_(std::move(wsdlPath)), schemaFolder_(std::move(schemaFolder))
{
}

CallService::~CallService() = default;

bool CallService::stampOf(Stamp& stamp) const
{
    std::error_code error;
    stamp.time = std::filesystem::last_write_time(wsdlPath_, error);
    if (error)
        return false;
    stamp.size = std::filesystem::file_size(wsdlPath_, error);
    return !error;
}

bool CallService::current() const
{
    Stamp now;
    return view_ != nullptr && stampOf(now) && now == stamp_;
}

void CallService::drop()
{
    view_.reset();
    parser_.reset();
}

bool CallService::read(std::ostream& messages)
{
    if (current())
        return true;
    drop();
    ++readings_;
    // Stamped before the reading: a change made while it reads is seen by the next one.
    Stamp stamp;
    stampOf(stamp);
    diagnostics_.str(std::string());
    const auto failure = [&](const std::string& document, const std::string& description, int line, int column) {
        messages << diagnostics_.str()
                 << locatedMessage(SourceSpot{document.empty() ? wsdlPath_ : document, line, column},
                                   Wsdl::reportText(description))
                 << "\n";
        drop();
        return false;
    };
    try {
        parser_ = std::make_unique<Wsdl::WsdlParser>(wsdlPath_, diagnostics_, schemaFolder_);
        while (parser_->getState() != Wsdl::WsdlParser::END)
            parser_->parse();
        if (parser_->hasError()) {
            messages << diagnostics_.str();
            drop();
            return false;
        }
        view_ = std::make_unique<CServiceView>(readServiceView(*parser_));
    } catch (const Wsdl::WsdlException& error) {
        return failure(error.document, error.description, error.line, error.column);
    } catch (const Schema::SchemaParserException& error) {
        return failure(error.getDocument(), error.getDescription(), error.getLine(), error.getColumn());
    } catch (const XmlPullParserException& error) {
        return failure(std::string(), error.description, error.line, error.column);
    }
    messages << diagnostics_.str();
    stamp_ = stamp;
    return true;
}
