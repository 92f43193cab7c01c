#include "generator/model/ValueFacets.h"

#include "generator/model/ServiceView.h"
#include "schema/SchemaConstants.h"

#include <cstring>

namespace {

void inheritText(std::string& own, const std::string& base)
{
    if (own.empty())
        own = base;
}

void inheritNumber(int& own, int base)
{
    if (own < 0)
        own = base;
}

// The integer types by name with the bounds they are defined with.
struct CIntegerRange {
    const char* name;
    const char* least; // empty: none
    const char* most;
};

const CIntegerRange* integerRange(const char* name)
{
    static const CIntegerRange ranges[] = {
        {"integer", "", ""},
        {"nonNegativeInteger", "0", ""},
        {"positiveInteger", "1", ""},
        {"nonPositiveInteger", "", "0"},
        {"negativeInteger", "", "-1"},
        {"long", "-9223372036854775808", "9223372036854775807"},
        {"int", "-2147483648", "2147483647"},
        {"short", "-32768", "32767"},
        {"byte", "-128", "127"},
        {"unsignedLong", "0", "18446744073709551615"},
        {"unsignedInt", "0", "4294967295"},
        {"unsignedShort", "0", "65535"},
        {"unsignedByte", "0", "255"},
    };
    for (const CIntegerRange& range : ranges) {
        if (name != nullptr && std::strcmp(name, range.name) == 0)
            return &range;
    }
    return nullptr;
}

// The name of a built-in id when its name was not kept.
const char* integerNameOf(int builtin)
{
    switch (builtin) {
    case Schema::XSD_INTEGER: return "integer";
    case Schema::XSD_POSINT: return "positiveInteger";
    case Schema::XSD_INT: return "int";
    case Schema::XSD_BYTE: return "byte";
    case Schema::XSD_UINT: return "unsignedInt";
    case Schema::XSD_LONG: return "long";
    case Schema::XSD_ULONG: return "unsignedLong";
    case Schema::XSD_SHORT: return "short";
    case Schema::XSD_USHORT: return "unsignedShort";
    default: return nullptr;
    }
}

bool named(const char* xsdName, const char* name)
{
    return xsdName != nullptr && std::strcmp(xsdName, name) == 0;
}

} // namespace

void CValueFacets::inherit(const CValueFacets& base)
{
    if (kind == CValueKind::Text)
        kind = base.kind;
    inheritText(minInclusive, base.minInclusive);
    inheritText(maxInclusive, base.maxInclusive);
    inheritText(minExclusive, base.minExclusive);
    inheritText(maxExclusive, base.maxExclusive);
    inheritNumber(length, base.length);
    inheritNumber(minLength, base.minLength);
    inheritNumber(maxLength, base.maxLength);
    inheritNumber(totalDigits, base.totalDigits);
    inheritNumber(fractionDigits, base.fractionDigits);
    inheritText(pattern, base.pattern);
}

CValueFacets builtinFacets(const char* xsdName, int builtin)
{
    CValueFacets facets;
    const CIntegerRange* range = integerRange(xsdName != nullptr ? xsdName : integerNameOf(builtin));
    if (range != nullptr) {
        facets.kind = CValueKind::Integer;
        facets.minInclusive = range->least;
        facets.maxInclusive = range->most;
        facets.fractionDigits = 0;
    } else if (named(xsdName, "decimal") || (xsdName == nullptr && builtin == Schema::XSD_DECIMAL)) {
        facets.kind = CValueKind::Decimal;
    } else if (named(xsdName, "float") || named(xsdName, "double") ||
               (xsdName == nullptr && (builtin == Schema::XSD_FLOAT || builtin == Schema::XSD_DOUBLE))) {
        facets.kind = CValueKind::Floating;
    } else if (builtin != Schema::XSD_STRING && builtin != Schema::XSD_TOKEN && builtin != Schema::XSD_NCNAME &&
               builtin != Schema::XSD_NMTOKEN && builtin != Schema::XSD_QNAME && builtin != 0) {
        facets.kind = CValueKind::Other;
    } else if (xsdName != nullptr && !named(xsdName, "string") && !named(xsdName, "normalizedString") &&
               !named(xsdName, "token") && !named(xsdName, "Name") && !named(xsdName, "NCName") &&
               !named(xsdName, "NMTOKEN") && !named(xsdName, "language") && !named(xsdName, "ID") &&
               !named(xsdName, "IDREF") && !named(xsdName, "ENTITY")) {
        facets.kind = CValueKind::Other; // durations, the g... dates: kept as their samples have them
    }
    return facets;
}

CValueFacets valueFacets(const CTypeRef& type, bool withBuiltin)
{
    CValueFacets facets;
    CTypeRef at = type;
    // A restriction's facets hold besides its base's; bases that name each other end.
    for (int hops = 0; at.user != nullptr && hops < 32; ++hops) {
        if (at.user->facets != nullptr)
            facets.inherit(*at.user->facets);
        at = at.user->base;
    }
    if (withBuiltin)
        facets.inherit(builtinFacets(at.xsdName, at.builtin));
    return facets;
}
