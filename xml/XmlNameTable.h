#ifndef KELVANE_XML_XMLNAMETABLE_H
#define KELVANE_XML_XMLNAMETABLE_H

// The names of a document's tags and attributes, each split once at its first
// colon; internal to xml/.
#include "xml/OpenAddressTable.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>

struct XmlName {
    std::string raw;     // as written
    std::string prefix;  // before the first colon; empty without one
    std::string local;   // after the first colon; the whole name without one
    bool hasColon = false;
    bool qualified = true;  // no colon, or one with text on both sides
    bool isXmlns = false;        // "xmlns": declares the default namespace
    bool xmlnsPrefixed = false;  // "xmlns:..."; declares a prefix
    // The namespace its prefix resolved to, while the declarations in scope
    // were those the parser numbered resolvedIn (0: never resolved).
    std::uint64_t resolvedIn = 0;
    int namespacePos = 0;

    void assign(std::string_view written);
};

// A document uses few distinct names, so each is split and resolved once and
// its entry shared by every tag that spells it. Entries never move. The table
// stops taking new names at kMaxNames, and a look-up gives up after
// kMaxProbes slots, so that hostile input can neither grow it without bound
// nor, with names chosen to hash alike, make every tag search it end to end;
// callers keep such names in entries of their own.
class XmlNameTable {
public:
    static constexpr std::size_t kMaxNames = 4096;
    static constexpr std::size_t kMaxProbes = 64;

    // The entry spelled written, made on first sight; nullptr when the table
    // is full or the name's slots are crowded.
    XmlName* intern(std::string_view written);
    std::size_t size() const { return names_.size(); }
    static std::uint64_t hashOf(std::string_view written);

private:
    struct Slot {
        std::uint64_t hash = 0;
        XmlName* name = nullptr;
    };
    struct SlotTraits {
        static bool isFree(const Slot& slot) { return slot.name == nullptr; }
        static std::size_t hashOf(const Slot& slot) { return static_cast<std::size_t>(slot.hash); }
    };

    std::deque<XmlName> names_;
    OpenAddressTable<Slot, SlotTraits> slots_;  // at most half full
};

#endif
