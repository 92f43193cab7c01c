#include "schema/SimpleType.h"

#include "schema/SchemaConstants.h"
#include "schema/SchemaParserException.h"
#include "xml/XmlPullParser.h"
#include "xml/XmlPullParserException.h"

#include <algorithm>
#include <utility>

namespace Schema {

namespace {

constexpr int StringFacets = 2079;  // length, minLength, maxLength, enumeration, whiteSpace, pattern
constexpr int DecimalFacets = 4088; // enumeration, whiteSpace, ranges, digits, pattern
constexpr int OrderedFacets = 2552; // enumeration, whiteSpace, ranges, pattern
constexpr int BooleanFacets = 2064; // whiteSpace, pattern
constexpr int PatternOnly = 2048;
constexpr int AllFacets = 4095;

// Valid-facet masks by built-in base type id 0 to 28.
constexpr int BuiltinMasks[FIRST_USER_TYPE] = {
    0,             // 0 none
    0,             // 1 the schema element's type
    StringFacets,  // 2 string
    DecimalFacets, // 3 integer
    DecimalFacets, // 4 int
    DecimalFacets, // 5 byte
    DecimalFacets, // 6 positiveInteger
    DecimalFacets, // 7 unsignedInt
    DecimalFacets, // 8 long
    DecimalFacets, // 9 unsignedLong
    DecimalFacets, // 10 short
    DecimalFacets, // 11 unsignedShort
    DecimalFacets, // 12 decimal
    OrderedFacets, // 13 float
    OrderedFacets, // 14 double
    BooleanFacets, // 15 boolean
    OrderedFacets, // 16 time
    OrderedFacets, // 17 dateTime
    OrderedFacets, // 18 date
    StringFacets,  // 19 token
    StringFacets,  // 20 QName
    StringFacets,  // 21 NCName
    StringFacets,  // 22 NMTOKEN
    StringFacets,  // 23 NMTOKENS
    StringFacets,  // 24 base64Binary
    StringFacets,  // 25 hexBinary: binary data, restricted by length like base64Binary
    PatternOnly,   // 26 any
    PatternOnly,   // 27 anyType
    StringFacets   // 28 anyURI
};

// Every built-in type by the facets it admits, as XML Schema's datatypes
// define them; ids alone cannot tell, since the types without an id of
// their own (unsignedByte, duration ...) share string's.
const std::map<std::string, int>& builtinFacetTable()
{
    static const std::map<std::string, int> facets = [] {
        std::map<std::string, int> table;
        for (const char* name : {"string", "normalizedString", "token", "language", "Name", "NCName", "ID", "IDREF",
                                 "IDREFS", "ENTITY", "ENTITIES", "NMTOKEN", "NMTOKENS", "anyURI", "QName", "NOTATION",
                                 "base64Binary", "hexBinary"})
            table[name] = StringFacets;
        for (const char* name : {"decimal", "integer", "nonPositiveInteger", "negativeInteger", "long", "int", "short",
                                 "byte", "nonNegativeInteger", "unsignedLong", "unsignedInt", "unsignedShort",
                                 "unsignedByte", "positiveInteger"})
            table[name] = DecimalFacets;
        for (const char* name : {"float", "double", "duration", "dateTime", "time", "date", "gYearMonth", "gYear",
                                 "gMonthDay", "gDay", "gMonth"})
            table[name] = OrderedFacets;
        table["boolean"] = BooleanFacets;
        table["anySimpleType"] = AllFacets;
        table["any"] = PatternOnly;
        table["anyType"] = PatternOnly;
        return table;
    }();
    return facets;
}

int builtinFacets(const std::string& localName)
{
    const auto found = builtinFacetTable().find(localName);
    return found == builtinFacetTable().end() ? StringFacets : found->second;
}

const std::map<std::string, int>& facetNames()
{
    static const std::map<std::string, int> names = {
        {"length", SimpleType::LENGTH},
        {"minLength", SimpleType::MINLEN},
        {"maxLength", SimpleType::MAXLEN},
        {"enumeration", SimpleType::ENUM},
        {"whiteSpace", SimpleType::WSP},
        {"maxInclusive", SimpleType::MAXINC},
        {"minInclusive", SimpleType::MININC},
        {"maxExclusive", SimpleType::MAXEX},
        {"minExclusive", SimpleType::MINEX},
        {"totalDigits", SimpleType::TOTALDIGITS},
        {"fractionDigits", SimpleType::FRACTIONDIGITS},
        {"pattern", SimpleType::PATTERN}};
    return names;
}

long long decimalDigits(long long value)
{
    unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    long long digits = 1;
    while (magnitude >= 10) {
        magnitude /= 10;
        ++digits;
    }
    return digits;
}

} // namespace

SimpleType::SimpleType(SharedText typeNamespace) : XsdType(std::move(typeNamespace))
{
    setContentType(Simple);
}

int SimpleType::getFacetId(const std::string& facet)
{
    const auto found = facetNames().find(facet);
    return found == facetNames().end() ? NONE : found->second;
}

int SimpleType::getValidFacets(int baseTypeId)
{
    if (baseTypeId >= FIRST_USER_TYPE)
        return AllFacets; // a derived user type: its own base decides, and it is not known here
    if (baseTypeId < 0)
        return 0;
    return BuiltinMasks[baseTypeId];
}

int SimpleType::getBuiltinFacets(const std::string& localName)
{
    return builtinFacets(localName);
}

const char* SimpleType::getBuiltinName(const std::string& localName)
{
    const auto found = builtinFacetTable().find(localName);
    return found == builtinFacetTable().end() ? nullptr : found->first.c_str();
}

const std::string& SimpleType::getFacetText(int facet) const
{
    static const std::string none;
    const auto found = texts_.find(facet);
    return found == texts_.end() ? none : found->second;
}

bool SimpleType::isValidFacet(const std::string& facet) const
{
    if (getBaseTypeId() == XSD_INVALID)
        error("isValidFacet:Unknown base type");
    return (getFacetId(facet) & getValidFacets()) != 0;
}

void SimpleType::setFacets(const std::string& facet, const std::string& value)
{
    const int bit = getFacetId(facet);
    switch (bit) {
    case ENUM:
        ++slots_[SlotA];
        enumerations_.push_back(value);
        break;
    case WSP:
        storeValue(WSP, whiteSpaceCode(value));
        break;
    case PATTERN:
        pattern_ = value;
        break;
    default: {
        if (bit != NONE)
            texts_[bit] = value;
        int number = 0;
        if (!readNumber(value, number))
            return; // a fractional or huge bound: nothing an int check could use
        if (bit != NONE)
            storeValue(bit, number);
        break;
    }
    }
    recordFacet(bit);
}

int SimpleType::whiteSpaceCode(const std::string& value) const
{
    if (value == "preserve")
        return PRESERVE;
    if (value == "collapse")
        return COLLAPSE;
    if (value == "replace")
        return REPLACE;
    error("Invalid facet value for whitespace");
}

bool SimpleType::readNumber(const std::string& value, int& number)
{
    try {
        number = parseInt(value, 10);
        return true;
    } catch (const XmlPullParserException&) {
        return false;
    }
}

int SimpleType::slotOf(int facet)
{
    switch (facet) {
    case MAXLEN:
    case MININC:
        return SlotB;
    case MAXEX:
        return SlotC;
    case MINEX:
        return SlotD;
    default:
        return SlotA;
    }
}

void SimpleType::storeValue(int facet, int value)
{
    slots_[slotOf(facet)] = value;
    values_[facet] = value;
}

void SimpleType::recordFacet(int facet)
{
    // Every enumeration value is checked by one entry; any other facet is
    // recorded, also when it follows an enumeration.
    if (facet == ENUM && hasFacet(ENUM))
        return;
    facets_.push_back(facet);
}

bool SimpleType::hasFacet(int facet) const
{
    return std::find(facets_.begin(), facets_.end(), facet) != facets_.end();
}

int SimpleType::getFacetValue(int facet) const
{
    const auto found = values_.find(facet);
    return found == values_.end() ? 0 : found->second;
}

bool SimpleType::acceptsLength(int facet, long long length) const
{
    const long long limit = getFacetValue(facet);
    switch (facet) {
    case LENGTH:
        return length == limit;
    case MINLEN:
        return length >= limit;
    case MAXLEN:
        return length <= limit;
    default:
        return true;
    }
}

bool SimpleType::enumerates(int value) const
{
    for (const std::string& text : enumerations_) {
        int number = 0;
        if (!text.empty() && readNumber(text, number) && number == value)
            return true;
    }
    return false;
}

bool SimpleType::isValidInt(int value) const
{
    const int base = getBaseTypeId();
    // A restriction of a user type is asked only when that type is integral.
    if (base != XSD_INT && base != XSD_INTEGER && base < FIRST_USER_TYPE)
        return false;
    const long long digits = decimalDigits(value);
    for (const int facet : facets_) {
        bool ok = true;
        switch (facet) {
        case MAXINC:
            ok = value <= getFacetValue(MAXINC);
            break;
        case MININC:
            ok = value >= getFacetValue(MININC);
            break;
        case MAXEX:
            ok = value < getFacetValue(MAXEX);
            break;
        case MINEX:
            ok = value > getFacetValue(MINEX);
            break;
        case LENGTH:
        case MINLEN:
        case MAXLEN:
            ok = acceptsLength(facet, digits);
            break;
        case ENUM:
            ok = enumerates(value);
            break;
        case TOTALDIGITS:
            ok = digits <= getFacetValue(TOTALDIGITS);
            break;
        case FRACTIONDIGITS: // an int has no fraction digits
        case WSP:
        case PATTERN: // patterns are not evaluated
            break;
        default:
            ok = false;
            break;
        }
        if (!ok)
            return false;
    }
    return true;
}

bool SimpleType::isValidString(const std::string& value) const
{
    const long long length = static_cast<long long>(value.size());
    for (const int facet : facets_) {
        const bool ok = facet == ENUM
                            ? std::find(enumerations_.begin(), enumerations_.end(), value) != enumerations_.end()
                            : acceptsLength(facet, length);
        if (!ok)
            return false;
    }
    return true;
}

bool SimpleType::isValidFloat(float) const
{
    return true;
}

void SimpleType::setListType(int itemTypeId)
{
    list_ = true;
    setBaseType(itemTypeId, Restriction);
}

void SimpleType::addMemberType(int typeId)
{
    union_ = true;
    memberTypes_.push_back(typeId);
}

void SimpleType::error(const std::string& message) const
{
    throw SchemaParserException(message + "SimpleType::error()");
}

} // namespace Schema
