#include "app/PathKind.h"

#include <windows.h>

namespace {

// The path's attributes; INVALID_FILE_ATTRIBUTES when nothing is there.
DWORD AttributesOf(const std::string& strPath) {
    return ::GetFileAttributesA(strPath.c_str());
}

}  // namespace

bool IsExistingFile(const std::string& strPath) {
    const DWORD nAttributes = AttributesOf(strPath);
    return nAttributes != INVALID_FILE_ATTRIBUTES && !(nAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsExistingFolder(const std::string& strPath) {
    const DWORD nAttributes = AttributesOf(strPath);
    return nAttributes != INVALID_FILE_ATTRIBUTES && (nAttributes & FILE_ATTRIBUTE_DIRECTORY);
}
