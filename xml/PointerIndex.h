#ifndef KELVANE_XML_POINTERINDEX_H
#define KELVANE_XML_POINTERINDEX_H

#include "xml/OpenAddressTable.h"

#include <cstddef>
#include <cstdint>

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
        if (slots_.slotCount() == 0)
            return Value();
        const Slot& slot = slots_[slotOf(key)];
        return slot.key == key ? slot.value : Value();
    }

    // Gives key its value unless it has one: the first stays. False when it had one.
    bool insert(const Key* key, Value value)
    {
        slots_.makeRoomForOneMore(MinSlots);
        const std::size_t index = slotOf(key);
        if (slots_[index].key != nullptr)
            return false;
        slots_.fill(index, Slot{key, value});
        return true;
    }

    std::size_t size() const { return slots_.size(); }

private:
    static constexpr std::size_t MinSlots = 16; // a power of two

    struct Slot {
        const Key* key = nullptr; // null: free
        Value value = Value();
    };

    // Objects of one kind lie a fixed stride apart: multiplying spreads
    // their addresses over the high bits, which are folded onto the low ones.
    static std::size_t hashOf(const Key* key)
    {
        std::uint64_t mixed = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(key)) * 0x9e3779b97f4a7c15ull;
        mixed ^= mixed >> 32;
        return static_cast<std::size_t>(mixed);
    }

    struct SlotTraits {
        static bool isFree(const Slot& slot) { return slot.key == nullptr; }
        static std::size_t hashOf(const Slot& slot) { return CPointerIndex::hashOf(slot.key); }
    };

    // The slot holding key, else the free slot where it would go.
    std::size_t slotOf(const Key* key) const
    {
        return slots_.probe(hashOf(key), [key](const Slot& slot) { return slot.key == key; });
    }

    OpenAddressTable<Slot, SlotTraits> slots_;
};

#endif
