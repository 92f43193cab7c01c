#ifndef KELVANE_GENERATOR_MODEL_POINTERINDEX_H
#define KELVANE_GENERATOR_MODEL_POINTERINDEX_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

// A value per object of another model, found by the object's address. The
// entries stand in one open-addressed array kept at most half full: a
// look-up reads one slot (rarely a few beside it) where a node-based map
// reads a bucket and then a node, and an entry allocates nothing of its own.
// Keys are never null; a look-up of an object without an entry gives Value().
template <class Key, class Value>
class CPointerIndex {
public:
    Value find(const Key* key) const
    {
        if (slots_.empty())
            return Value();
        const Slot& slot = slots_[slotOf(key)];
        return slot.key == key ? slot.value : Value();
    }

    // Gives key its value unless it has one: the first stays. False when it had one.
    bool insert(const Key* key, Value value)
    {
        if (2 * (size_ + 1) > slots_.size())
            rehash(std::max(MinSlots, 2 * slots_.size()));
        Slot& slot = slots_[slotOf(key)];
        if (slot.key != nullptr)
            return false;
        slot = Slot{key, value};
        ++size_;
        return true;
    }

    std::size_t size() const { return size_; }

private:
    static constexpr std::size_t MinSlots = 16; // a power of two

    struct Slot {
        const Key* key = nullptr; // null: free
        Value value = Value();
    };

    // The slot holding key, else the free slot where it would go. Objects
    // of one kind lie a fixed stride apart: multiplying spreads their
    // addresses over the high bits, which are folded onto the low ones.
    std::size_t slotOf(const Key* key) const
    {
        std::uint64_t mixed = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key)) * 0x9e3779b97f4a7c15ull;
        mixed ^= mixed >> 32;
        const std::size_t mask = slots_.size() - 1;
        std::size_t slot = static_cast<std::size_t>(mixed) & mask;
        while (slots_[slot].key != nullptr && slots_[slot].key != key)
            slot = (slot + 1) & mask;
        return slot;
    }

    void rehash(std::size_t slotCount)
    {
        std::vector<Slot> old(slotCount);
        old.swap(slots_);
        for (const Slot& entry : old) {
            if (entry.key != nullptr)
                slots_[slotOf(entry.key)] = entry;
        }
    }

    std::vector<Slot> slots_;
    std::size_t size_ = 0;
};

#endif
