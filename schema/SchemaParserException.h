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
    // The document the position lies in; empty for the one being read.
    const std::string& getDocument() const { return document_; }
    void setDocument(const std::string& document) { document_ = document; }

private:
    std::string description_;
    int line_ = 0;
    int column_ = 0;
    std::string document_;
};

} // namespace Schema

#endif
