#pragma once

// Byte-exact file access and folder listing for tests.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace testsupport {

inline std::string readBytes(const std::filesystem::path& name)
{
    std::ifstream in(name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& name, const std::string& bytes)
{
    std::ofstream(name, std::ios::binary) << bytes;
}

// Names of the entries of folder whose name contains text.
inline std::set<std::string> namesContaining(const std::string& text,
                                             const std::filesystem::path& folder = ".")
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find(text) != std::string::npos)
            names.insert(name);
    }
    return names;
}

// Eight ASCII letters and ".kw-tmp", the form of a download's temporary file.
inline bool isTemporaryName(const std::string& name)
{
    const std::string suffix = ".kw-tmp";
    if (name.size() != 8 + suffix.size() || name.compare(8, std::string::npos, suffix) != 0)
        return false;
    for (std::size_t i = 0; i < 8; ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
            return false;
    }
    return true;
}

}  // namespace testsupport
