#include "schema/SchemaErrorLog.h"

#include "schema/SchemaParserException.h"

#include <ostream>

namespace Schema {

void SchemaErrorLog::error(const std::string& message, int level, int line, int column,
                           const std::string& document) const
{
    if (level == Fatal) {
        SchemaParserException failure(message + "\nFatal Error in SchemaParser\n");
        failure.setPosition(line, column);
        throw failure;
    }
    if ((level != Error && level != Alert) || level > reportLevel_ || log_ == nullptr)
        return;
    *log_ << (level == Error ? "Error @" : "Alert @") << line << ':' << column;
    if (!document.empty())
        *log_ << " in " << document;
    *log_ << "  " << message << '\n';
    log_->flush();
}

} // namespace Schema
