#ifndef KELVANE_TOOLS_PROGRAMFOLDER_H
#define KELVANE_TOOLS_PROGRAMFOLDER_H

// Where a command-line tool finds the run-time folders: beside the program
// as installed, else in the source tree it was built from.

#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

inline std::filesystem::path programFolder(const char* argv0)
{
#ifdef _WIN32
    char name[MAX_PATH] = {};
    if (GetModuleFileNameA(nullptr, name, MAX_PATH) > 0)
        return std::filesystem::path(name).parent_path();
#else
    std::error_code failed;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (!failed)
        return self.parent_path();
#endif
    return std::filesystem::absolute(argv0).parent_path();
}

// The folder that holds soap-schemas/ (and the other run-time folders),
// ending in a separator: the program's own when it has them.
inline std::string runtimeFolder(const char* argv0)
{
    const std::filesystem::path beside = programFolder(argv0);
    if (std::filesystem::exists(beside / "soap-schemas" / "wsdl10.xsd"))
        return beside.generic_string() + "/";
    return std::string(KELVANE_SOURCE_DIR) + "/runtime/";
}

#endif
