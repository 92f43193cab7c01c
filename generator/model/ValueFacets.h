#ifndef KELVANE_GENERATOR_MODEL_VALUEFACETS_H
#define KELVANE_GENERATOR_MODEL_VALUEFACETS_H

#include <string>

struct CTypeRef;

// What kind of text a simple value is, as far as its bounds go.
enum class CValueKind : unsigned char {
    Text,     // lengths and patterns bound it
    Integer,  // digits with a sign: the integer types, whatever their member
    Decimal,  // digits with a point
    Floating, // float and double
    Other     // dates, booleans, binary and URI texts: none of the bounds below are read
};

// The facets of a simple type that bound its values, as the schema wrote
// them; a restriction's own, or (from valueFacets) all that hold for a value.
struct CValueFacets {
    CValueKind kind = CValueKind::Text;
    // Bounds as written (decimals too); empty when absent.
    std::string minInclusive;
    std::string maxInclusive;
    std::string minExclusive;
    std::string maxExclusive;
    int length = -1; // -1 when absent
    int minLength = -1;
    int maxLength = -1;
    int totalDigits = -1;
    int fractionDigits = -1;
    std::string pattern;

    bool hasRange() const
    {
        return !minInclusive.empty() || !maxInclusive.empty() || !minExclusive.empty() || !maxExclusive.empty();
    }
    bool hasLength() const { return length >= 0 || minLength >= 0 || maxLength >= 0; }
    bool hasDigits() const { return totalDigits >= 0 || fractionDigits >= 0; }
    // Each facet this one lacks, taken from a type it restricts.
    void inherit(const CValueFacets& base);
};

// The facets a built-in type has by its definition (nonNegativeInteger:
// 0 at least; unsignedByte: 0 to 255 ...), by its local name when known,
// else by its type id.
CValueFacets builtinFacets(const char* xsdName, int builtin);

// Every facet that bounds a value of the type: a user type's own, those of
// the types it restricts, and (withBuiltin) those its built-in base has by
// definition.
CValueFacets valueFacets(const CTypeRef& type, bool withBuiltin = true);

#endif
