#include "generator/model/TextPool.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

constexpr std::size_t BlockSize = 4096;
constexpr std::size_t SmallTable = 16; // slots; a power of two

} // namespace

std::string_view CTextPool::intern(std::string_view text)
{
    if (text.empty())
        return std::string_view();
    if (text != lastInterned_)
        lastInterned_ = insert(text, hashOf(text)).first;
    return lastInterned_;
}

bool CTextPool::contains(std::string_view text, std::size_t hash) const
{
    return !slots_.empty() && slots_[slotOf(text, hash)].data() != nullptr;
}

void CTextPool::prefetch(std::size_t hash) const
{
    if (!slots_.empty())
        __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
}

void CTextPool::clear()
{
    size_ = 0;
    lastInterned_ = std::string_view();
    if (slots_.size() > SmallTable)
        slots_.assign(SmallTable, std::string_view());
    else
        std::fill(slots_.begin(), slots_.end(), std::string_view());
    if (blocks_.size() > 1)
        blocks_.resize(1);
    blockUsed_ = 0;
}

void CTextPool::reserve(std::size_t count)
{
    std::size_t slotCount = std::max(SmallTable, slots_.size());
    while (slotCount < 2 * count)
        slotCount *= 2;
    if (slotCount > slots_.size())
        rehash(slotCount);
}

std::pair<std::string_view, bool> CTextPool::insert(std::string_view text, std::size_t hash)
{
    // Kept at most half full, so that a look-up meets few other texts.
    if (2 * (size_ + 1) > slots_.size())
        rehash(std::max(SmallTable, 2 * slots_.size()));
    std::string_view& slot = slots_[slotOf(text, hash)];
    if (slot.data() != nullptr)
        return {slot, false};
    slot = copy(text);
    ++size_;
    return {slot, true};
}

std::string_view CTextPool::copy(std::string_view text)
{
    if (blocks_.empty() || blocks_.back().size - blockUsed_ < text.size()) {
        const std::size_t size = std::max(BlockSize, text.size());
        blocks_.push_back(CBlock{std::unique_ptr<char[]>(new char[size]), size}); // left unset: copies fill it
        blockUsed_ = 0;
    }
    char* at = blocks_.back().bytes.get() + blockUsed_;
    if (!text.empty())
        std::memcpy(at, text.data(), text.size());
    blockUsed_ += text.size();
    return std::string_view(at, text.size()); // never null: a block is always there
}

std::size_t CTextPool::slotOf(std::string_view text, std::size_t hash) const
{
    const std::size_t mask = slots_.size() - 1;
    std::size_t slot = hash & mask;
    while (slots_[slot].data() != nullptr && slots_[slot] != text)
        slot = (slot + 1) & mask;
    return slot;
}

void CTextPool::rehash(std::size_t slotCount)
{
    std::vector<std::string_view> old(slotCount);
    old.swap(slots_);
    for (std::string_view text : old) {
        if (text.data() != nullptr)
            slots_[slotOf(text, hashOf(text))] = text;
    }
}
