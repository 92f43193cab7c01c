#ifndef KELVANE_SCHEMA_XMLNAMESPACE_H
#define KELVANE_SCHEMA_XMLNAMESPACE_H

#include "schema/Attribute.h"

#include <string>

namespace Schema {

// The namespace the "xml" prefix is bound to by definition. Every XML
// processor knows its attributes, so no schema is ever fetched for it.
inline constexpr const char* XmlUri = "http://www.w3.org/XML/1998/namespace";

// The global attribute of that name in the XML namespace (lang, space, base
// or id); null for any other name.
const Attribute* xmlNamespaceAttribute(const std::string& localName);

} // namespace Schema

#endif
