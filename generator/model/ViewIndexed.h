#ifndef KELVANE_GENERATOR_MODEL_VIEWINDEXED_H
#define KELVANE_GENERATOR_MODEL_VIEWINDEXED_H

#include <cstddef>
#include <unordered_map>
#include <utility>
#include <vector>

// A value per entity of the service view (type, element, message), found by
// the entity's position in the view's list: one array read per look-up,
// however large the service. An entity made outside a view (no position)
// is kept aside in a hash map.
template <class Entity, class Value>
class CViewIndexed {
public:
    void set(const Entity* entity, Value value)
    {
        if (entity->index == Entity::NoIndex) {
            loose_[entity] = value;
            return;
        }
        if (entity->index >= slots_.size())
            slots_.resize(entity->index + 1, Slot(nullptr, Value()));
        slots_[entity->index] = Slot(entity, value);
    }

    // The value set for entity; Value() when none.
    Value find(const Entity* entity) const
    {
        if (entity == nullptr)
            return Value();
        if (entity->index == Entity::NoIndex) {
            const auto found = loose_.find(entity);
            return found == loose_.end() ? Value() : found->second;
        }
        // The entity is checked too: a position alone may be another view's.
        if (entity->index >= slots_.size() || slots_[entity->index].first != entity)
            return Value();
        return slots_[entity->index].second;
    }

private:
    using Slot = std::pair<const Entity*, Value>;
    std::vector<Slot> slots_;
    std::unordered_map<const Entity*, Value> loose_;
};

#endif
