#include "schema/ReferenceSpots.h"

namespace Schema {

void ReferenceSpots::recordFirst(NameKeyView name, const SourceSpot& spot)
{
    if (spots_.find(name) != spots_.end())
        return;
    const NameKey& stored = names_.emplace_back(name.first, name.second);
    spots_.emplace(NameKeyView(stored.first, stored.second), spot);
}

const SourceSpot* ReferenceSpots::find(NameKeyView name) const
{
    const auto found = spots_.find(name);
    return found != spots_.end() ? &found->second : nullptr;
}

} // namespace Schema
