#ifndef KELVANE_WSDL_SCHEMAFOLDER_H
#define KELVANE_WSDL_SCHEMAFOLDER_H

#include <string>

namespace Wsdl {

// A file of the built-in schema folder: the folder is given with or without
// a trailing separator, and either kind of separator ends it.
inline std::string schemaFile(const std::string& folder, const std::string& fileName)
{
    if (folder.empty() || folder.back() == '/' || folder.back() == '\\')
        return folder + fileName;
    return folder + "/" + fileName;
}

} // namespace Wsdl

#endif
