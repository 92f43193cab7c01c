#pragma once

// Names the schema and WSDL tests share: a qualified name with its namespace
// set, and the folder of the built-in schemas.

#include "schema/QualifiedName.h"

#include <string>

namespace testsupport {

inline Schema::QualifiedName qname(const std::string& ns, const std::string& local)
{
    Schema::QualifiedName name(local);
    name.setNamespace(ns);
    return name;
}

// The folder of the built-in schemas, with its trailing separator.
inline std::string builtInSchemaFolder() { return std::string(KELVANE_SOURCE_DIR) + "/runtime/soap-schemas/"; }

} // namespace testsupport
