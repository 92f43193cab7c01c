#include "schema/SchemaErrorLog.h"

#include "schema/SchemaParserException.h"
#include "xml/SourceSpot.h"

#include <ostream>

namespace Schema {

void SchemaErrorLog::error(const std::string& message, int level, int line, int column,
                           const std::string& document) const
{
    if (level == Fatal) {
        SchemaParserException failure(message + "\nFatal Error in SchemaParser\n");
        failure.setPosition(line, column);
        failure.setDocument(document);
        throw failure;
    }
    if ((level != Error && level != Alert) || level > reportLevel_ || log_ == nullptr)
        return;
    *log_ << locatedMessage(SourceSpot{document, line, column}, (level == Error ? "Error: " : "Alert: ") + message)
          << '\n';
    log_->flush();
}

} // namespace Schema
