#ifndef KELVANE_SCHEMA_REFERENCESPOTS_H
#define KELVANE_SCHEMA_REFERENCESPOTS_H

#include "schema/NameKeyMap.h"
#include "xml/SourceSpot.h"

namespace Schema {

// Where each name was first referenced. Names are referenced again and again:
// a repeated reference costs one hashed look-up and no copy; the name is only
// stored, and its spot only worked out, for its first reference.
class ReferenceSpots {
public:
    // Keeps the spot of the first reference to the name (spotHere() tells
    // it); later ones leave it.
    template <typename SpotHere>
    void recordFirst(NameKeyView name, SpotHere spotHere)
    {
        const auto [spot, first] = spots_.emplace(name, SourceSpot());
        if (first)
            *spot = spotHere();
    }
    // The spot of the first reference, or null when the name was never referenced.
    const SourceSpot* find(NameKeyView name) const { return spots_.find(name); }

private:
    NameKeyMap<SourceSpot> spots_;
};

} // namespace Schema

#endif
