#include "schema/XmlNamespace.h"

#include "schema/SchemaConstants.h"

#include <map>

namespace Schema {

const Attribute* xmlNamespaceAttribute(const std::string& localName)
{
    // Their types are built-in types or the nearest built-in base.
    static const std::map<std::string, Attribute> attributes = {
        {"lang", Attribute("lang", XSD_TOKEN, true, std::string(), std::string(), false)},
        {"space", Attribute("space", XSD_NCNAME, true, std::string(), std::string(), false)},
        {"base", Attribute("base", XSD_ANYURI, true, std::string(), std::string(), false)},
        {"id", Attribute("id", XSD_NCNAME, true, std::string(), std::string(), false)},
    };
    const auto found = attributes.find(localName);
    return found == attributes.end() ? nullptr : &found->second;
}

} // namespace Schema
