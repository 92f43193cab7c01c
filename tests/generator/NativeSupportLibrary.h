#pragma once

// The support library as the native tests' programs link it: compiled with the programs' own flags
// once per test process rather than once per program, since its sources are the same for each.
// Shares of one test binary run as processes side by side: each compiles into a folder of its own
// and reads only what it wrote there, so nothing is shared between them and nothing needs a lock.

#include "HostCommand.h"

#if defined(KELVANE_C_COMPILER) && !defined(KELVANE_WIN_C_COMPILER)

#include <cstdlib>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <system_error>

#include <unistd.h>

namespace gentest {

// The compiler with the flags of a program built natively, under the sanitizers when sanitize is set.
inline std::string nativeCompiler(bool sanitize)
{
    return std::string(KELVANE_C_COMPILER) + " -std=gnu99 -Wall -Werror -Wno-unused-function" +
        (sanitize ? " -fsanitize=address,undefined -fno-sanitize-recover=all -g" : "");
}

// Definitions the support library alone is compiled with in this test run (the environment's
// KELVANE_TEST_SUPPORT_DEFINES): the tests' second run of the server's suites builds it so that
// its workers wait on epoll alone.
inline std::string supportDefines()
{
    const char* defines = std::getenv("KELVANE_TEST_SUPPORT_DEFINES");
    return defines != nullptr ? std::string(" ") + defines : std::string();
}

// The support library's headers and libxml2's.
inline std::string nativeIncludes()
{
    return "-I" KELVANE_HOST_SOURCE_DIR "/runtime/lib/include -I/usr/include/libxml2";
}

// The objects of C sources compiled in a folder of their own, removed with the object. Programs link
// the objects, not an archive of them, so that each takes all of the library as it did compiling the
// sources in.
class NativeSupportLibrary {
public:
    // The support library of this process, compiled on first use.
    static const NativeSupportLibrary& of(bool sanitize)
    {
        if (sanitize) {
            static const NativeSupportLibrary checked(nativeCompiler(true) + supportDefines(), KELVANE_TESSARO_SOURCE_LIST);
            return checked;
        }
        static const NativeSupportLibrary plain(nativeCompiler(false) + supportDefines(), KELVANE_TESSARO_SOURCE_LIST);
        return plain;
    }

    // compiler: a command line taking -c and the sources (a command line's list) after it.
    NativeSupportLibrary(const std::string& compiler, const std::string& sources)
    {
        if (!makeFolder()) {
            messages_ = "no folder for the support library's objects under " + std::filesystem::temp_directory_path().string();
            return;
        }
        const int status = runHostCommand("cd " + folder_.string() + " && " + compiler + " " + nativeIncludes() + " -c " +
                                          sources + " > messages.txt 2>&1");
        const std::string said = testsupport::readBytes(folder_ / "messages.txt");
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_))
            if (entry.path().extension() == ".o")
                names.insert(entry.path().string());
        built_ = status == 0 && !names.empty();
        if (!built_) {
            messages_ = "the support library did not compile (status " + std::to_string(status) + "): " + said;
            return;
        }
        messages_ = said;
        for (const std::string& name : names)
            objects_ += " " + name;
    }

    bool built() const { return built_; }
    const std::string& messages() const { return messages_; } // the compiler's, or why it was not built
    const std::string& objects() const { return objects_; }   // each after a space
    const std::filesystem::path& folder() const { return folder_; }

    NativeSupportLibrary(const NativeSupportLibrary&) = delete;
    NativeSupportLibrary& operator=(const NativeSupportLibrary&) = delete;

    ~NativeSupportLibrary()
    {
        std::error_code ignored;
        if (!folder_.empty())
            std::filesystem::remove_all(folder_, ignored);
    }

private:
    // A new folder named after the process and a random number: creating it fails when it exists, so
    // no two libraries, in one process or in two, ever share one.
    bool makeFolder()
    {
        std::random_device seed;
        std::mt19937 random(seed());
        const std::string base = "kelvane-support-" + std::to_string(::getpid()) + "-";
        for (int attempt = 0; attempt < 100; ++attempt) {
            const std::filesystem::path candidate = std::filesystem::temp_directory_path() / (base + std::to_string(random()));
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
