#ifndef KELVANE_SCHEMA_NAMEKEY_H
#define KELVANE_SCHEMA_NAMEKEY_H

#include <string>
#include <string_view>
#include <utility>

namespace Schema {

// A namespace and a local name as the key of an ordered map.
using NameKey = std::pair<std::string, std::string>;
using NameKeyView = std::pair<std::string_view, std::string_view>;

// Orders name keys by namespace, then local name. It is transparent, so a
// map is searched with views of a name's parts without copying them.
struct NameKeyOrder {
    using is_transparent = void;

    static NameKeyView view(const NameKey& key) { return NameKeyView(key.first, key.second); }
    static NameKeyView view(const NameKeyView& key) { return key; }

    template <typename Left, typename Right>
    bool operator()(const Left& left, const Right& right) const
    {
        return view(left) < view(right);
    }
};

} // namespace Schema

#endif
