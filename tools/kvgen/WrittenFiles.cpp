#include "tools/kvgen/WrittenFiles.h"

#include <cstdio>
#include <fstream>
#include <sstream>

const char* const CWrittenFiles::FileName = ".kvgen";

void CWrittenFiles::load(const std::filesystem::path& folder)
{
    hashes_.clear();
    std::ifstream record(folder / FileName, std::ios::binary);
    std::string line;
    while (std::getline(record, line)) {
        // "<16 hex digits> <file>"
        if (line.size() < 18 || line[16] != ' ')
            continue;
        std::uint64_t hash = 0;
        std::istringstream digits(line.substr(0, 16));
        if (digits >> std::hex >> hash)
            hashes_[line.substr(17)] = hash;
    }
}

bool CWrittenFiles::save(const std::filesystem::path& folder) const
{
    std::ofstream record(folder / FileName, std::ios::binary | std::ios::trunc);
    for (const auto& file : hashes_) {
        char digits[17];
        std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(file.second));
        record << digits << ' ' << file.first << '\n';
    }
    record.close();
    return !record.fail();
}

bool CWrittenFiles::find(const std::string& file, std::uint64_t& hash) const
{
    const auto found = hashes_.find(file);
    if (found == hashes_.end())
        return false;
    hash = found->second;
    return true;
}

// FNV-1a: enough to tell an edited file from the one written.
bool CWrittenFiles::hashFile(const std::filesystem::path& path, std::uint64_t& hash)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    hash = 14695981039346656037ull;
    char piece[65536];
    while (file.read(piece, sizeof piece) || file.gcount() > 0) {
        for (std::streamsize i = 0; i < file.gcount(); ++i)
            hash = (hash ^ static_cast<unsigned char>(piece[i])) * 1099511628211ull;
    }
    return !file.bad();
}
