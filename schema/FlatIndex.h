#ifndef KELVANE_SCHEMA_FLATINDEX_H
#define KELVANE_SCHEMA_FLATINDEX_H

#include <cstddef>
#include <utility>
#include <vector>

namespace Schema {

// Entries (pointers, positions) found by a key each entry yields itself,
// held in one open-addressed array. A node-based map reads a bucket, a chain
// of nodes and the key a node points to, each a cache miss once the index
// outgrows the cache; here a look-up reads one run of slots and only the
// entry whose stored hash matches. The index keeps no copy of a key: it is
// read through keyOf(entry), which must yield the key the entry was filed
// under for as long as it is filed. The first entry filed under a key stays.
template <class Entry, class Key, class Hash>
class FlatIndex {
public:
    // The entry filed under key, or null.
    template <class KeyOf>
    const Entry* find(const Key& key, KeyOf keyOf) const
    {
        if (slots_.empty())
            return nullptr;
        const std::size_t hash = hashOf(key);
        for (std::size_t i = hash & mask();; i = (i + 1) & mask()) {
            const Slot& slot = slots_[i];
            if (slot.hash == kEmpty)
                return nullptr;
            if (slot.hash == hash && keyOf(slot.entry) == key)
                return &slot.entry;
        }
    }

    // Files entry under key unless an entry is filed there already; answers
    // the entry filed under key and whether it is the one given.
    template <class KeyOf>
    std::pair<const Entry*, bool> emplace(const Key& key, Entry entry, KeyOf keyOf)
    {
        return emplaceMade(key, keyOf, [&entry] { return std::move(entry); });
    }

    // The same in one probe, making the entry with make() only when the key
    // is new.
    template <class KeyOf, class Make>
    std::pair<const Entry*, bool> emplaceMade(const Key& key, KeyOf keyOf, Make make)
    {
        if ((size_ + 1) * 2 > slots_.size())
            grow();
        const std::size_t hash = hashOf(key);
        std::size_t i = hash & mask();
        for (; slots_[i].hash != kEmpty; i = (i + 1) & mask()) {
            if (slots_[i].hash == hash && keyOf(slots_[i].entry) == key)
                return {&slots_[i].entry, false};
        }
        slots_[i] = Slot{hash, make()};
        ++size_;
        return {&slots_[i].entry, true};
    }

    std::size_t size() const { return size_; }

    void clear()
    {
        slots_.clear();
        size_ = 0;
    }

private:
    static constexpr std::size_t kEmpty = 0;

    struct Slot {
        std::size_t hash = kEmpty;
        Entry entry{};
    };

    static std::size_t hashOf(const Key& key)
    {
        const std::size_t hash = Hash()(key);
        return hash != kEmpty ? hash : 1;
    }

    std::size_t mask() const { return slots_.size() - 1; }

    // Doubles the slots (a power of two, at most half full), placing each
    // entry again by the hash its slot keeps: no key is read. The first
    // slots are few: a schema of one or two names keeps several indexes, and
    // a description may import thousands of such schemas.
    void grow()
    {
        std::vector<Slot> old(slots_.empty() ? 4 : slots_.size() * 2);
        old.swap(slots_);
        for (Slot& slot : old) {
            if (slot.hash == kEmpty)
                continue;
            std::size_t i = slot.hash & mask();
            while (slots_[i].hash != kEmpty)
                i = (i + 1) & mask();
            slots_[i] = std::move(slot);
        }
    }

    std::vector<Slot> slots_;
    std::size_t size_ = 0;
};

} // namespace Schema

#endif
