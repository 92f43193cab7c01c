#ifndef KELVANE_TOOLS_KVGEN_WRITTENFILES_H
#define KELVANE_TOOLS_KVGEN_WRITTENFILES_H

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

// What kvgen last wrote into a project folder: each file (by its path
// relative to the folder, with '/') and a hash of its bytes, kept in the
// folder's file ".kvgen". A file whose bytes no longer hash as recorded was
// changed since.
class CWrittenFiles {
public:
    static const char* const FileName;

    // Reads the record of folder; an absent or unreadable record is empty.
    void load(const std::filesystem::path& folder);
    // Writes the record into folder; false when it could not be written.
    bool save(const std::filesystem::path& folder) const;

    void set(const std::string& file, std::uint64_t hash) { hashes_[file] = hash; }
    // False when the file is not recorded.
    bool find(const std::string& file, std::uint64_t& hash) const;

    // The hash of a file's bytes; false when it cannot be read.
    static bool hashFile(const std::filesystem::path& path, std::uint64_t& hash);

private:
    std::map<std::string, std::uint64_t> hashes_;
};

#endif
