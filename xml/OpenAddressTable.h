#ifndef KELVANE_XML_OPENADDRESSTABLE_H
#define KELVANE_XML_OPENADDRESSTABLE_H

#include <algorithm>
#include <cstddef>
#include <vector>

// The slots of a hash table with open addressing and linear probing: a
// power-of-two array of Slot, kept at most half full by its owner, so that a
// look-up reads one slot and rarely a few beside it. The owner decides what a
// slot holds, which slot is the one sought, when the table has room for no
// more and how large it starts; Traits says which slot is free
// (`static bool isFree(const Slot&)`) and where a held slot goes again when the
// table grows (`static std::size_t hashOf(const Slot&)`). A default-made Slot
// is free.
template <class Slot, class Traits>
class OpenAddressTable {
public:
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);

    std::size_t size() const { return size_; }
    std::size_t slotCount() const { return slots_.size(); }
    const Slot& operator[](std::size_t index) const { return slots_[index]; }

    // The slot that same accepts among those hash leads to, else the free slot
    // where such an entry would go; npos once maxProbes held slots were not it
    // (a bound against keys chosen to hash alike). The table must have slots.
    template <class Same>
    std::size_t probe(std::size_t hash, Same same, std::size_t maxProbes = npos) const
    {
        const std::size_t mask = slots_.size() - 1;
        std::size_t index = hash & mask;
        for (std::size_t probes = 0; !Traits::isFree(slots_[index]) && !same(slots_[index]);
             index = (index + 1) & mask) {
            if (++probes == maxProbes)
                return npos;
        }
        return index;
    }

    // Fills the free slot probe() gave.
    void fill(std::size_t index, const Slot& slot)
    {
        slots_[index] = slot;
        ++size_;
    }

    // Doubles the slots (to minSlots at first) when one more entry would fill
    // more than half of them; true when it did, which moves every slot.
    bool makeRoomForOneMore(std::size_t minSlots)
    {
        if (2 * (size_ + 1) <= slots_.size())
            return false;
        rehash(std::max(minSlots, 2 * slots_.size()));
        return true;
    }

    // Places every held slot again in slotCount slots (a power of two).
    void rehash(std::size_t slotCount)
    {
        std::vector<Slot> old(slotCount);
        old.swap(slots_);
        for (const Slot& slot : old) {
            if (!Traits::isFree(slot))
                slots_[probe(Traits::hashOf(slot), [](const Slot&) { return false; })] = slot;
        }
    }

    // Frees every slot, keeping at most keepSlots of them.
    void clear(std::size_t keepSlots)
    {
        size_ = 0;
        if (slots_.size() > keepSlots)
            slots_.assign(keepSlots, Slot());
        else
            std::fill(slots_.begin(), slots_.end(), Slot());
    }

    // Starts reading the slot hash leads to, for a look-up a little later.
    void prefetch(std::size_t hash) const
    {
        if (!slots_.empty())
            __builtin_prefetch(&slots_[hash & (slots_.size() - 1)]);
    }

private:
    std::vector<Slot> slots_;
    std::size_t size_ = 0;
};

#endif
