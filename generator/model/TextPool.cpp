#include "generator/model/TextPool.h"

#include <algorithm>
#include <functional>

namespace {

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
    texts_.clear();
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
    // A free slot is a view whose data() is null: the empty text needs one that is not.
    return text.empty() ? std::string_view("", 0) : texts_.keep(text);
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
