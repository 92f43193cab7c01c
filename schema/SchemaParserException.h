#ifndef KELVANE_SCHEMA_SCHEMAPARSEREXCEPTION_H
#define KELVANE_SCHEMA_SCHEMAPARSEREXCEPTION_H

#include <string>

namespace Schema {

// Thrown by value for every fatal schema error; derives from nothing.
class SchemaParserException {
public:
    explicit SchemaParserException(const std::string& text);

    const std::string& getDescription() const { return description_; }
    int getLine() const { return line_; }
    int getColumn() const { return column_; }
    void setPosition(int line, int column);

private:
    std::string description_;
    int line_ = 0;
    int column_ = 0;
};

} // namespace Schema

#endif
