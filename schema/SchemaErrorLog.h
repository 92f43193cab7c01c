#ifndef KELVANE_SCHEMA_SCHEMAERRORLOG_H
#define KELVANE_SCHEMA_SCHEMAERRORLOG_H

#include <iosfwd>
#include <string>

namespace Schema {

// The schema parser's way of failing: level 0 throws SchemaParserException,
// level 1 ("Error @") and level 2 ("Alert @") write one line to the log
// stream when the report level admits them.
class SchemaErrorLog {
public:
    enum Level { Fatal = 0, Error = 1, Alert = 2 };

    // The stream is not owned; null writes nothing.
    explicit SchemaErrorLog(std::ostream* log = nullptr, int reportLevel = 1)
        : log_(log), reportLevel_(reportLevel) {}

    std::ostream* getStream() const { return log_; }
    void setStream(std::ostream* log) { log_ = log; }
    int getReportLevel() const { return reportLevel_; }
    void setReportLevel(int level) { reportLevel_ = level; }

    // line and column: the pull parser's position at the moment of the call;
    // document: the document that position lies in, named after it when given.
    void error(const std::string& message, int level, int line, int column,
               const std::string& document = std::string()) const;

private:
    std::ostream* log_;
    int reportLevel_;
};

} // namespace Schema

#endif
