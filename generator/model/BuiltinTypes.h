#ifndef KELVANE_GENERATOR_MODEL_BUILTINTYPES_H
#define KELVANE_GENERATOR_MODEL_BUILTINTYPES_H

// How the generated code holds, writes and reads a value of each built-in
// schema type: one row per type id of the schema model (Schema::XSD_*),
// read by every emitter.

// How the text of a value becomes its C value when a message is decoded.
enum class CDecodeConversion {
    Text,     // copied into the member's characters
    Signed,   // strtoll into a long long
    Unsigned, // strtoull into an unsigned long long, no sign allowed
    Floating, // strtod into a double
    Boolean   // "true"/"false", or 1/0
};

struct CBuiltinType {
    int id;                   // Schema::XSD_*
    const char* cType;        // the member's C type; "char" for text (an array)
    const char* printFormat;  // the printf conversion of the print functions
    const char* encodeFormat; // the snprintf conversion that writes it into a message
    CDecodeConversion decode;
    // The decoded wide value is compared back after narrowing to the
    // member's type: a value out of the member's range fails the message
    // (for a floating type: a finite value that narrows to an infinity).
    bool rangeChecked;

    bool isText() const { return decode == CDecodeConversion::Text; }
};

// The row of a built-in type id; null for the ids of user types and for
// ids that stand for no value type (invalid, schema).
const CBuiltinType* findBuiltinType(int typeId);

// The row of a number member's type id; the row of int for an id that is
// not a built-in number type, as the type mapping has it.
const CBuiltinType& numberType(int typeId);

// Text-valued built-in types: string, the date, name, binary and URI types,
// and decimal, integer and positiveInteger (unbounded: held as their text).
// Number types: the bounded integers, float, double and boolean.
bool isTextTypeId(int typeId);
bool isNumericTypeId(int typeId);

// Number types written with a floating conversion (float, double).
bool isFloatingTypeId(int typeId);

// The id the schema model gives wildcards (xsd:any, anyAttribute).
bool isWildcardTypeId(int typeId);

// xsd:anyType: an element of it may hold any content, elements too.
bool isAnyContentTypeId(int typeId);

// base64Binary and hexBinary: texts of any length (images, documents).
bool isBinaryTypeId(int typeId);

// The local name of a built-in type in the XML Schema namespace (anyType
// for a wildcard); empty for any other id.
const char* xsdTypeName(int typeId);

#endif
