#pragma once

// The support library as the native tests' programs link it: compiled with the programs' own flags
// once per test process rather than once per program, since its sources are the same for each.

#include "HostCommand.h"

#if defined(KELVANE_C_COMPILER) && !defined(KELVANE_WIN_C_COMPILER)

#include <filesystem>
#include <set>
#include <string>

#include <unistd.h>

namespace gentest {

// The compiler with the flags of a program built natively, under the sanitizers when sanitize is set.
inline std::string nativeCompiler(bool sanitize)
{
    return std::string(KELVANE_C_COMPILER) + " -std=gnu99 -Wall -Werror -Wno-unused-function" +
        (sanitize ? " -fsanitize=address,undefined -fno-sanitize-recover=all -g" : "");
}

// The support library's headers and libxml2's.
inline std::string nativeIncludes()
{
    return "-I" KELVANE_HOST_SOURCE_DIR "/runtime/lib/include -I/usr/include/libxml2";
}

// The library's objects in a folder of their own, removed at exit. Programs link the objects, not an
// archive of them, so that each takes all of the library as it did compiling the sources in.
class NativeSupportLibrary {
public:
    static const NativeSupportLibrary& of(bool sanitize)
    {
        if (sanitize) {
            static const NativeSupportLibrary checked(true);
            return checked;
        }
        static const NativeSupportLibrary plain(false);
        return plain;
    }

    bool built() const { return built_; }
    const std::string& messages() const { return messages_; } // the compiler's
    const std::string& objects() const { return objects_; }   // each after a space

    NativeSupportLibrary(const NativeSupportLibrary&) = delete;
    NativeSupportLibrary& operator=(const NativeSupportLibrary&) = delete;

    ~NativeSupportLibrary()
    {
        std::error_code ignored;
        if (!folder_.empty())
            std::filesystem::remove_all(folder_, ignored);
    }

private:
    explicit NativeSupportLibrary(bool sanitize)
    {
        if (!makeFolder()) {
            messages_ = "no folder for the support library's objects";
            return;
        }
        built_ = runHostCommand("cd " + folder_.string() + " && " + nativeCompiler(sanitize) + " " + nativeIncludes() +
                                " -c " KELVANE_TESSARO_SOURCE_LIST " > messages.txt 2>&1") == 0;
        messages_ = testsupport::readBytes(folder_ / "messages.txt");
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            if (entry.path().extension() == ".o")
                names.insert(entry.path().string());
        for (const std::string& name : names)
            objects_ += " " + name;
    }

    bool makeFolder()
    {
        const std::string base = "kelvane-support-" + std::to_string(::getpid()) + "-";
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path candidate = std::filesystem::temp_directory_path() / (base + std::to_string(attempt));
            std::error_code failed;
            if (std::filesystem::create_directory(candidate, failed)) {
                folder_ = candidate;
                return true;
            }
        }
        return false;
    }

    std::filesystem::path folder_;
    bool built_ = false;
    std::string messages_;
    std::string objects_;
};

} // namespace gentest

#endif
