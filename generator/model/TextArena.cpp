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
    if (blocks_.empty() || blocks_.back().size - blockUsed_ < text.size()) {
        const std::size_t size = std::max(BlockSize, text.size());
        blocks_.push_back(CBlock{std::unique_ptr<char[]>(new char[size]), size}); // left unset: copies fill it
        blockUsed_ = 0;
    }
    char* at = blocks_.back().bytes.get() + blockUsed_;
    std::memcpy(at, text.data(), text.size());
    blockUsed_ += text.size();
    return std::string_view(at, text.size());
}

void CTextArena::clear()
{
    if (blocks_.size() > 1)
        blocks_.resize(1);
    blockUsed_ = 0;
}
