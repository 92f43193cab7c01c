#ifndef KELVANE_GENERATOR_MODEL_TEXTPOOL_H
#define KELVANE_GENERATOR_MODEL_TEXTPOOL_H

#include "generator/model/TextArena.h"
#include "xml/OpenAddressTable.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>

// One copy of each text that many entities name (the namespaces of a
// service, the identifiers a scope has handed out): an entity holds a view
// of the pool's copy. Copies stand side by side in large blocks and are
// found through one open-addressed table, so that adding a text allocates
// nothing of its own. The copies never move, also when the pool itself is
// moved, so the views stay valid until the pool is cleared or destroyed.
class CTextPool {
public:
    // The pool's copy of text; empty for an empty text. A copy ends in a
    // NUL, so that its data() may be held as a CShortText.
    std::string_view intern(std::string_view text);
    // Adds a copy of text; false, adding nothing, when the pool holds it already.
    bool add(std::string_view text) { return add(text, hashOf(text)); }
    bool contains(std::string_view text) const { return contains(text, hashOf(text)); }
    // The hash a text is found by. Once the table is larger than the caches,
    // each look-up waits for memory: a caller with many texts to look up
    // works their hashes out first and starts each look-up a few texts
    // ahead with prefetch(), so that the waits overlap.
    static std::size_t hashOf(std::string_view text) { return std::hash<std::string_view>()(text); }
    void prefetch(std::size_t hash) const;
    bool add(std::string_view text, std::size_t hash) { return insert(text, hash).second; }
    bool contains(std::string_view text, std::size_t hash) const;
    std::size_t size() const { return slots_.size(); }
    // Makes room for count texts in all, so that adding them finds the table large enough.
    void reserve(std::size_t count);
    // Forgets every text, keeping room for as many again (up to a small
    // table, so that a pool cleared often stays cheap to clear).
    void clear();

private:
    // The copy of text, and whether this call made it.
    std::pair<std::string_view, bool> insert(std::string_view text, std::size_t hash);
    std::string_view copy(std::string_view text);
    // The slot holding text (of that hash), else the free slot where it would go.
    std::size_t slotOf(std::string_view text, std::size_t hash) const;

    // A view whose data() is null marks a free slot.
    struct SlotTraits {
        static bool isFree(std::string_view slot) { return slot.data() == nullptr; }
        static std::size_t hashOf(std::string_view slot) { return CTextPool::hashOf(slot); }
    };

    CTextArena texts_;
    OpenAddressTable<std::string_view, SlotTraits> slots_;
    // Entities of one document name one text many times in a row.
    std::string_view lastInterned_;
};

#endif
