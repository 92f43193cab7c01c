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
// ending in a separator: the program's own when it has them, else
// share/kelvane/ of the prefix it was installed into (bin/ beside share/),
// else the source tree's.
inline std::string runtimeFolder(const char* argv0)
{
    const std::filesystem::path program = programFolder(argv0);
    for (const std::filesystem::path& folder : {program, program.parent_path() / "share" / "kelvane"}) {
        if (std::filesystem::exists(folder / "soap-schemas" / "wsdl10.xsd"))
            return folder.generic_string() + "/";
    }
    return std::string(KELVANE_SOURCE_DIR) + "/runtime/";
}

#endif
