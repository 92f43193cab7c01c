#ifndef KELVANE_SCHEMA_NAMEKEYMAP_H
#define KELVANE_SCHEMA_NAMEKEYMAP_H

#include "schema/NameKey.h"

#include <deque>
#include <unordered_map>
#include <utility>

namespace Schema {

// A hashed map from names to values that is searched with views of a name's
// parts: a look-up copies nothing, and a name is copied once, when it is
// first filed. Values stay where they are while the map grows.
template <typename Value>
class NameKeyMap {
public:
    // The value filed under the name, or null.
    Value* find(NameKeyView name)
    {
        const auto found = values_.find(name);
        return found != values_.end() ? &found->second : nullptr;
    }
    const Value* find(NameKeyView name) const { return const_cast<NameKeyMap*>(this)->find(name); }

    // Files the value unless the name has one; answers the value filed under
    // the name and whether it is the one given.
    std::pair<Value*, bool> emplace(NameKeyView name, Value value)
    {
        if (Value* known = find(name))
            return {known, false};
        // The map's keys view these copies, which stay where they are as the deque grows.
        const NameKey& stored = names_.emplace_back(name.first, name.second);
        const auto filed = values_.emplace(NameKeyView(stored.first, stored.second), std::move(value));
        return {&filed.first->second, true};
    }

    std::size_t size() const { return values_.size(); }

    void clear()
    {
        values_.clear();
        names_.clear();
    }

private:
    std::deque<NameKey> names_;
    std::unordered_map<NameKeyView, Value, NameKeyHash> values_;
};

} // namespace Schema

#endif
