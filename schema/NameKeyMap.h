#ifndef KELVANE_SCHEMA_NAMEKEYMAP_H
#define KELVANE_SCHEMA_NAMEKEYMAP_H

#include "schema/FlatIndex.h"
#include "schema/NameKey.h"
#include "schema/StableStore.h"

#include <utility>

namespace Schema {

// A hashed map from names to values that is searched with views of a name's
// parts: a look-up copies nothing, and a name is copied once, when it is
// first filed, beside its value, so that a look-up that finds it reads one
// place. Values stay where they are while the map grows.
template <typename Value>
class NameKeyMap {
public:
    // The value filed under the name, or null.
    Value* find(NameKeyView name)
    {
        Filed* const* found = index_.find(name, keyOf);
        return found != nullptr ? &(*found)->value : nullptr;
    }
    const Value* find(NameKeyView name) const { return const_cast<NameKeyMap*>(this)->find(name); }

    // Files the value unless the name has one; answers the value filed under
    // the name and whether it is the one given.
    std::pair<Value*, bool> emplace(NameKeyView name, Value value)
    {
        const auto [filed, fresh] = index_.emplaceMade(name, keyOf, [&] {
            return &filed_.emplace_back(Filed{NameKey(name.first, name.second), std::move(value)});
        });
        return {&(*filed)->value, fresh};
    }

    std::size_t size() const { return index_.size(); }

    void clear()
    {
        index_.clear();
        filed_.clear();
    }

private:
    struct Filed {
        NameKey name;
        Value value;
    };

    static NameKeyView keyOf(const Filed* filed) { return NameKeyView(filed->name.first, filed->name.second); }

    // The index's entries point here; the store keeps them in place as it grows.
    StableStore<Filed> filed_;
    FlatIndex<Filed*, NameKeyView, NameKeyHash> index_;
};

} // namespace Schema

#endif
