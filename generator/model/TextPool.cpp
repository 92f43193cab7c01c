#include "generator/model/TextPool.h"

#include <algorithm>

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
    return slots_.slotCount() != 0 && !SlotTraits::isFree(slots_[slotOf(text, hash)]);
}

void CTextPool::prefetch(std::size_t hash) const
{
    slots_.prefetch(hash);
}

void CTextPool::clear()
{
    lastInterned_ = std::string_view();
    slots_.clear(SmallTable);
    texts_.clear();
}

void CTextPool::reserve(std::size_t count)
{
    std::size_t slotCount = std::max(SmallTable, slots_.slotCount());
    while (slotCount < 2 * count)
        slotCount *= 2;
    if (slotCount > slots_.slotCount())
        slots_.rehash(slotCount);
}

std::pair<std::string_view, bool> CTextPool::insert(std::string_view text, std::size_t hash)
{
    // Kept at most half full, so that a look-up meets few other texts.
    slots_.makeRoomForOneMore(SmallTable);
    const std::size_t index = slotOf(text, hash);
    if (!SlotTraits::isFree(slots_[index]))
        return {slots_[index], false};
    slots_.fill(index, copy(text));
    return {slots_[index], true};
}

std::string_view CTextPool::copy(std::string_view text)
{
    // A free slot is a view whose data() is null: the empty text needs one that is not.
    return text.empty() ? std::string_view("", 0) : std::string_view(texts_.keepTerminated(text), text.size());
}

std::size_t CTextPool::slotOf(std::string_view text, std::size_t hash) const
{
    return slots_.probe(hash, [text](std::string_view held) { return held == text; });
}
