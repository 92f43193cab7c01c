#ifndef KELVANE_SCHEMA_REFERENCESPOTS_H
#define KELVANE_SCHEMA_REFERENCESPOTS_H

#include "schema/NameKeyMap.h"
#include "xml/SourceSpot.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace Schema {

// Where each name was first referenced. Names are referenced again and again:
// a repeated reference costs one hashed look-up and no copy; the name is only
// stored, and its spot only worked out, for its first reference. The spot
// names its document by position in a short list of the documents seen: a
// copy of the document's name for each of tens of thousands of names was a
// large share of a big schema's memory.
class ReferenceSpots {
public:
    // Keeps the spot of the first reference to the name, in document, at the
    // line and column lineAndColumn() gives; later ones leave it.
    template <typename LineAndColumn>
    void recordFirst(NameKeyView name, const std::string& document, LineAndColumn lineAndColumn)
    {
        const auto [spot, first] = spots_.emplace(name, Spot());
        if (!first)
            return;
        const auto [line, column] = lineAndColumn();
        *spot = Spot{documentPosition(document), line, column};
    }
    // The spot of the first reference, or none when the name was never referenced.
    std::optional<SourceSpot> find(NameKeyView name) const;

private:
    struct Spot {
        std::size_t document = 0;
        int line = 0;
        int column = 0;
    };

    std::size_t documentPosition(const std::string& document);

    NameKeyMap<Spot> spots_;
    std::vector<std::string> documents_;
};

} // namespace Schema

#endif
