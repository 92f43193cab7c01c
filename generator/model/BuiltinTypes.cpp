#include "generator/model/BuiltinTypes.h"

#include "schema/SchemaConstants.h"

#include <iterator>

namespace {

using C = CDecodeConversion;

// In type id order from string on.
constexpr CBuiltinType Table[] = {
    {Schema::XSD_STRING, "char", "%s", "%s", C::Text, false},
    // integer, positiveInteger and decimal have no bound a C number keeps: their text, held
    // as it came (its lexical form checked), keeps every digit
    {Schema::XSD_INTEGER, "char", "%s", "%s", C::Text, false},
    {Schema::XSD_INT, "int", "%d", "%d", C::Signed, true},
    {Schema::XSD_BYTE, "signed char", "%d", "%d", C::Signed, true},
    {Schema::XSD_POSINT, "char", "%s", "%s", C::Text, false},
    {Schema::XSD_UINT, "unsigned int", "%u", "%u", C::Unsigned, true},
    {Schema::XSD_LONG, "long long", "%lld", "%lld", C::Signed, true},
    {Schema::XSD_ULONG, "unsigned long long", "%llu", "%llu", C::Unsigned, true},
    {Schema::XSD_SHORT, "short int", "%d", "%d", C::Signed, true},
    {Schema::XSD_USHORT, "unsigned short int", "%u", "%u", C::Unsigned, true},
    {Schema::XSD_DECIMAL, "char", "%s", "%s", C::Text, false},
    {Schema::XSD_FLOAT, "float", "%.9g", "%.9g", C::Floating, true},
    {Schema::XSD_DOUBLE, "double", "%.17g", "%.17g", C::Floating, false},
    {Schema::XSD_BOOLEAN, "unsigned char", "%u", "%u", C::Boolean, true},
    {Schema::XSD_TIME, "char", "%s", "%s", C::Text, false},
    {Schema::XSD_DATETIME, "char", "%s", "%s", C::Text, false},
    {Schema::XSD_DATE, "char", "%s", "%s", C::Text, false},
    {Schema::XSD_TOKEN, "char", "%s", "%s", C::Text, false},
    {Schema::XSD_QNAME, "char", "%s", "%s", C::Text, false},
    {Schema::XSD_NCNAME, "char", "%s", "%s", C::Text, false},
    {Schema::XSD_NMTOKEN, "char", "%s", "%s", C::Text, false},
    {Schema::XSD_NMTOKENS, "char", "%s", "%s", C::Text, false},
    {Schema::XSD_BASE64BIN, "char", "%s", "%s", C::Text, false},
    {Schema::XSD_HEXBIN, "char", "%s", "%s", C::Text, false},
    {Schema::XSD_ANY, "char", "%s", "%s", C::Text, false},
    {Schema::XSD_ANYTYPE, "char", "%s", "%s", C::Text, false},
    {Schema::XSD_ANYURI, "char", "%s", "%s", C::Text, false},
};

constexpr bool rowsInIdOrder()
{
    for (std::size_t i = 0; i < std::size(Table); ++i) {
        if (Table[i].id != Schema::XSD_STRING + static_cast<int>(i))
            return false;
    }
    return Table[std::size(Table) - 1].id == Schema::XSD_ANYURI;
}
static_assert(rowsInIdOrder(), "one row per built-in type id, in id order");

} // namespace

const CBuiltinType* findBuiltinType(int typeId)
{
    if (typeId < Schema::XSD_STRING || typeId > Schema::XSD_ANYURI)
        return nullptr;
    return &Table[typeId - Schema::XSD_STRING];
}

const CBuiltinType& numberType(int typeId)
{
    const CBuiltinType* row = findBuiltinType(typeId);
    return row != nullptr && !row->isText() ? *row : *findBuiltinType(Schema::XSD_INT);
}

bool isTextTypeId(int typeId)
{
    const CBuiltinType* row = findBuiltinType(typeId);
    return row != nullptr && row->isText();
}

bool isNumericTypeId(int typeId)
{
    const CBuiltinType* row = findBuiltinType(typeId);
    return row != nullptr && !row->isText();
}

bool isFloatingTypeId(int typeId)
{
    return isNumericTypeId(typeId) && numberType(typeId).decode == CDecodeConversion::Floating;
}

bool isWildcardTypeId(int typeId)
{
    return typeId == Schema::XSD_ANY;
}

bool isAnyContentTypeId(int typeId)
{
    return typeId == Schema::XSD_ANYTYPE;
}

bool isBinaryTypeId(int typeId)
{
    return typeId == Schema::XSD_BASE64BIN || typeId == Schema::XSD_HEXBIN;
}

const char* xsdTypeName(int typeId)
{
    static const char* const Names[] = {"string", "integer", "int", "byte", "positiveInteger", "unsignedInt",
                                        "long", "unsignedLong", "short", "unsignedShort", "decimal", "float",
                                        "double", "boolean", "time", "dateTime", "date", "token", "QName",
                                        "NCName", "NMTOKEN", "NMTOKENS", "base64Binary", "hexBinary", "anyType",
                                        "anyType", "anyURI"};
    static_assert(std::size(Names) == Schema::XSD_ANYURI - Schema::XSD_STRING + 1, "one name per built-in id");
    if (typeId < Schema::XSD_STRING || typeId > Schema::XSD_ANYURI)
        return "";
    return Names[typeId - Schema::XSD_STRING];
}
