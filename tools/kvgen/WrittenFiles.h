#ifndef KELVANE_TOOLS_KVGEN_WRITTENFILES_H
#define KELVANE_TOOLS_KVGEN_WRITTENFILES_H

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

// A fingerprint of a file's bytes, fed a piece at a time: enough to tell an
// edited file from the one written. Records of earlier kvgen versions hold
// FNV-1a over each byte (Bytes); records now hold the same step over each
// eight bytes (Words), eight times fewer steps for the megabytes kvgen
// writes.
class CFileHash {
public:
    enum Kind { Bytes, Words };

    explicit CFileHash(Kind kind) : kind_(kind) {}
    void add(const char* bytes, std::size_t count);
    std::uint64_t value() const;

private:
    static std::uint64_t mixed(std::uint64_t hash, std::uint64_t word) { return (hash ^ word) * 1099511628211ull; }
    void step(std::uint64_t word) { hash_ = mixed(hash_, word); }

    Kind kind_;
    std::uint64_t hash_ = 14695981039346656037ull;
    std::uint64_t length_ = 0;
    unsigned char tail_[8] = {};
    std::size_t tailSize_ = 0;
};

// What kvgen last wrote into a project folder: each file (by its path
// relative to the folder, with '/') and the hash of its bytes, kept in the
// folder's file ".kvgen". A file whose bytes no longer hash as recorded was
// changed since.
class CWrittenFiles {
public:
    static const char* const FileName;

    struct Entry {
        std::uint64_t hash = 0;
        CFileHash::Kind kind = CFileHash::Words;
    };

    // Reads the record of folder, in either version; an absent or
    // unreadable record is empty.
    void load(const std::filesystem::path& folder);
    // Writes the record into folder in the current version, each entry with
    // the kind of its hash. False when it could not be written.
    bool save(const std::filesystem::path& folder) const;

    void set(const std::string& file, std::uint64_t wordsHash) { entries_[file] = Entry{wordsHash, CFileHash::Words}; }
    // False when the file is not recorded.
    bool find(const std::string& file, Entry& entry) const;

private:
    std::map<std::string, Entry> entries_;
};

#endif
