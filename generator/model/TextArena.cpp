#include "generator/model/TextArena.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t BlockSize = 4096;

} // namespace

std::string_view CTextArena::keep(std::string_view text)
{
    if (text.empty())
        return std::string_view();
    char* at = take(text.size());
    std::memcpy(at, text.data(), text.size());
    return std::string_view(at, text.size());
}

const char* CTextArena::keepTerminated(std::string_view text)
{
    if (text.empty())
        return nullptr;
    char* at = take(text.size() + 1);
    std::memcpy(at, text.data(), text.size());
    at[text.size()] = '\0';
    return at;
}

char* CTextArena::take(std::size_t size)
{
    if (blocks_.empty() || blocks_.back().size - blockUsed_ < size) {
        const std::size_t blockSize = std::max(BlockSize, size);
        blocks_.push_back(CBlock{std::unique_ptr<char[]>(new char[blockSize]), blockSize}); // left unset: copies fill it
        blockUsed_ = 0;
    }
    char* at = blocks_.back().bytes.get() + blockUsed_;
    blockUsed_ += size;
    return at;
}

void CTextArena::clear()
{
    if (blocks_.size() > 1)
        blocks_.resize(1);
    blockUsed_ = 0;
}
