#include "tools/kvgen/HashedReader.h"

#include <algorithm>

CHashedReader::CHashedReader(const std::filesystem::path& path, std::optional<CFileHash::Kind> kind)
    : file_(path, std::ios::binary)
{
    if (kind)
        hash_.emplace(*kind);
}

const char* CHashedReader::next(std::size_t& size, std::size_t most)
{
    size = 0;
    if (file_) {
        file_.read(block_.data(), static_cast<std::streamsize>(std::min(most, block_.size())));
        size = static_cast<std::size_t>(file_.gcount());
        if (hash_)
            hash_->add(block_.data(), size);
    }
    return block_.data();
}

void CHashedReader::drain()
{
    std::size_t size = 1;
    while (size > 0)
        next(size);
}
