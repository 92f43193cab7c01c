#ifndef KELVANE_SCHEMA_NAMEKEY_H
#define KELVANE_SCHEMA_NAMEKEY_H

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace Schema {

// A namespace and a local name as the key of a map.
using NameKey = std::pair<std::string, std::string>;
using NameKeyView = std::pair<std::string_view, std::string_view>;

// Hashes a name key's view, so that a hashed map keyed by views of stored
// names is searched with views of a name's parts without copying them.
struct NameKeyHash {
    std::size_t operator()(const NameKeyView& key) const
    {
        const std::size_t first = std::hash<std::string_view>()(key.first);
        const std::size_t second = std::hash<std::string_view>()(key.second);
        return first ^ (second + 0x9e3779b97f4a7c15ULL + (first << 6) + (first >> 2));
    }
};

} // namespace Schema

#endif
