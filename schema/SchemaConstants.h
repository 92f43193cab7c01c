#ifndef KELVANE_SCHEMA_SCHEMACONSTANTS_H
#define KELVANE_SCHEMA_SCHEMACONSTANTS_H

namespace Schema {

// The XML Schema 2001 namespace, as the standard writes it.
inline constexpr const char* SchemaUri = "http://www.w3.org/2001/XMLSchema";

// Occurrence bound that stands for "unbounded".
inline constexpr int UNBOUNDED = 2147483647;

// Fixed type ids. Ids from FIRST_USER_TYPE on belong to one schema's types table.
enum TypeId {
    XSD_INVALID = 0,
    XSD_SCHEMA = 1,
    XSD_STRING = 2,
    XSD_INTEGER = 3,
    XSD_INT = 4,
    XSD_BYTE = 5,
    XSD_POSINT = 6,
    XSD_UINT = 7,
    XSD_LONG = 8,
    XSD_ULONG = 9,
    XSD_SHORT = 10,
    XSD_USHORT = 11,
    XSD_DECIMAL = 12,
    XSD_FLOAT = 13,
    XSD_DOUBLE = 14,
    XSD_BOOLEAN = 15,
    XSD_TIME = 16,
    XSD_DATETIME = 17,
    XSD_DATE = 18,
    XSD_TOKEN = 19,
    XSD_QNAME = 20,
    XSD_NCNAME = 21,
    XSD_NMTOKEN = 22,
    XSD_NMTOKENS = 23,
    XSD_BASE64BIN = 24,
    XSD_HEXBIN = 25,
    XSD_ANY = 26,
    XSD_ANYTYPE = 27,
    XSD_ANYURI = 28,
    FIRST_USER_TYPE = 29
};

} // namespace Schema

#endif
