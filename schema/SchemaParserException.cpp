#include "schema/SchemaParserException.h"

namespace Schema {

SchemaParserException::SchemaParserException(const std::string& text)
    : description_("Schema Parser Exception : " + text)
{
}

void SchemaParserException::setPosition(int line, int column)
{
    line_ = line;
    column_ = column;
}

} // namespace Schema
