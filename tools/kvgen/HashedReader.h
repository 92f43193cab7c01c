#ifndef KELVANE_TOOLS_KVGEN_HASHEDREADER_H
#define KELVANE_TOOLS_KVGEN_HASHEDREADER_H

#include "tools/kvgen/WrittenFiles.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <vector>

// One file read a block at a time, into a fingerprint when given a kind;
// at its end (or when it could not be opened) reads give nothing.
class CHashedReader {
public:
    static constexpr std::size_t BlockSize = 1 << 15;

    CHashedReader(const std::filesystem::path& path, std::optional<CFileHash::Kind> kind);

    bool opened() const { return file_.is_open(); }
    bool failed() const { return file_.bad(); }
    std::uint64_t hash() const { return hash_ ? hash_->value() : 0; }

    // The next bytes, at most most of them (at most a block), hashed; size
    // is 0 at the end.
    const char* next(std::size_t& size, std::size_t most = BlockSize);
    // Reads the rest, hashing it.
    void drain();

private:
    std::ifstream file_;
    std::optional<CFileHash> hash_;
    std::vector<char> block_ = std::vector<char>(BlockSize);
};

#endif
