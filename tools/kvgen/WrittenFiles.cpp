#include "tools/kvgen/WrittenFiles.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

// The first line of a record whose hashes are CFileHash::Words; earlier
// records begin with their first file.
const char* const RecordVersion = "kvgen-record 2";
// Separates the hash from the file in an entry an earlier record hashed by
// bytes: a file a run kept keeps its entry as it was.
const char KeptBytesMark = ':';

} // namespace

const char* const CWrittenFiles::FileName = ".kvgen";

void CFileHash::add(const char* bytes, std::size_t count)
{
    length_ += count;
    if (kind_ == Bytes) {
        for (std::size_t i = 0; i < count; ++i)
            step(static_cast<unsigned char>(bytes[i]));
        return;
    }
    if (tailSize_ > 0) {
        // Complete the word an earlier piece began.
        const std::size_t taken = std::min(count, sizeof tail_ - tailSize_);
        std::memcpy(tail_ + tailSize_, bytes, taken);
        tailSize_ += taken;
        bytes += taken;
        count -= taken;
        if (tailSize_ < sizeof tail_)
            return;
        std::uint64_t word;
        std::memcpy(&word, tail_, sizeof word);
        step(word);
        tailSize_ = 0;
    }
    // Kept in a local while the words go: the bytes might alias the
    // member, which would then be stored after every word.
    std::uint64_t hash = hash_;
    for (; count >= sizeof(std::uint64_t); count -= sizeof(std::uint64_t), bytes += sizeof(std::uint64_t)) {
        std::uint64_t word;
        std::memcpy(&word, bytes, sizeof word);
        hash = mixed(hash, word);
    }
    hash_ = hash;
    std::memcpy(tail_, bytes, count);
    tailSize_ = count;
}

std::uint64_t CFileHash::value() const
{
    if (kind_ == Bytes)
        return hash_;
    // The last bytes and the length, so that trailing zero bytes count.
    CFileHash last = *this;
    std::uint64_t word = 0;
    std::memcpy(&word, tail_, tailSize_);
    last.step(word);
    last.step(length_);
    return last.hash_;
}

void CWrittenFiles::load(const std::filesystem::path& folder)
{
    entries_.clear();
    std::ifstream record(folder / FileName, std::ios::binary);
    std::string line;
    CFileHash::Kind kind = CFileHash::Bytes;
    for (bool first = true; std::getline(record, line); first = false) {
        if (first && line == RecordVersion) {
            kind = CFileHash::Words;
            continue;
        }
        // "<16 hex digits> <file>", or ':' for a hash of the earlier kind
        // kept in a record of the current one.
        if (line.size() < 18 || (line[16] != ' ' && line[16] != KeptBytesMark))
            continue;
        std::uint64_t hash = 0;
        std::istringstream digits(line.substr(0, 16));
        if (digits >> std::hex >> hash)
            entries_[line.substr(17)] = Entry{hash, line[16] == KeptBytesMark ? CFileHash::Bytes : kind};
    }
}

bool CWrittenFiles::save(const std::filesystem::path& folder) const
{
    std::ofstream record(folder / FileName, std::ios::binary | std::ios::trunc);
    record << RecordVersion << '\n';
    for (const auto& file : entries_) {
        char digits[17];
        std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(file.second.hash));
        record << digits << (file.second.kind == CFileHash::Words ? ' ' : KeptBytesMark) << file.first << '\n';
    }
    record.close();
    return !record.fail();
}

bool CWrittenFiles::find(const std::string& file, Entry& entry) const
{
    const auto found = entries_.find(file);
    if (found == entries_.end())
        return false;
    entry = found->second;
    return true;
}
