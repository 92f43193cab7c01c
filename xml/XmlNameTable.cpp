#include "xml/XmlNameTable.h"

#include "xml/XmlCharClasses.h"

#include <cstring>

namespace {

constexpr std::size_t kInitialSlots = 64;

} // namespace

// Names are short: up to 16 bytes take two loads. Every byte counts, so that
// names alike but for their middle do not collide, and the final mix spreads
// every input bit over the low bits the slots are chosen by: similar names
// must not gather in one run of slots.
std::uint64_t XmlNameTable::hashOf(std::string_view s)
{
    constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15ull;
    const char* p = s.data();
    const std::size_t n = s.size();
    using XmlChars::load32;
    using XmlChars::load64;
    std::uint64_t a = 0;
    std::uint64_t b = 0;
    if (n >= 8) {
        std::size_t i = 0;
        for (; n - i > 16; i += 8) {
            a = (a ^ load64(p + i)) * kMix;
            a ^= a >> 29;
        }
        a ^= load64(p + i);
        b = load64(p + n - 8);
    } else if (n >= 4) {
        a = load32(p);
        b = load32(p + n - 4);
    } else if (n > 0) {
        a = (static_cast<std::uint64_t>(static_cast<unsigned char>(p[0])) << 16) |
            (static_cast<std::uint64_t>(static_cast<unsigned char>(p[n / 2])) << 8) |
            static_cast<unsigned char>(p[n - 1]);
    }
    std::uint64_t h = (a * kMix) ^ (b + n) * 0xC2B2AE3D27D4EB4Full;
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    return h ^ (h >> 33);
}

void XmlName::assign(std::string_view written)
{
    raw.assign(written.data(), written.size());
    const std::size_t cut = written.find(':');
    hasColon = cut != std::string_view::npos;
    if (!hasColon) {
        prefix.clear();
        local.assign(written.data(), written.size());
        qualified = true;
    } else {
        prefix.assign(written.data(), cut);
        local.assign(written.data() + cut + 1, written.size() - cut - 1);
        qualified = !local.empty() && local.find(':') == std::string::npos;
    }
    isXmlns = raw == "xmlns";
    xmlnsPrefixed = hasColon && prefix == "xmlns";
    resolvedIn = 0;
}

XmlName* XmlNameTable::intern(std::string_view written)
{
    if (slots_.slotCount() == 0) {
        slots_.rehash(kInitialSlots);
    }
    const std::uint64_t hash = hashOf(written);
    const auto spells = [hash, written](const Slot& slot) {
        const std::string& held = slot.name->raw;
        return slot.hash == hash && held.size() == written.size() &&
               XmlChars::sameBytes(held.data(), written.data(), held.size());
    };
    std::size_t index = slots_.probe(static_cast<std::size_t>(hash), spells, kMaxProbes);
    if (index == slots_.npos) {
        return nullptr;
    }
    if (!SlotTraits::isFree(slots_[index])) {
        return slots_[index].name;
    }
    if (names_.size() >= kMaxNames) {
        return nullptr;
    }
    XmlName& name = names_.emplace_back();
    name.assign(written);
    if (slots_.makeRoomForOneMore(kInitialSlots)) {
        index = slots_.probe(static_cast<std::size_t>(hash), [](const Slot&) { return false; });
    }
    slots_.fill(index, Slot{hash, &name});
    return &name;
}
