#include "schema/ReferenceSpots.h"

namespace Schema {

std::optional<SourceSpot> ReferenceSpots::find(NameKeyView name) const
{
    const Spot* spot = spots_.find(name);
    if (spot == nullptr)
        return std::nullopt;
    return SourceSpot{documents_[spot->document], spot->line, spot->column};
}

// References come in runs from one document: the last one is tried first.
std::size_t ReferenceSpots::documentPosition(const std::string& document)
{
    for (std::size_t i = documents_.size(); i > 0; --i) {
        if (documents_[i - 1] == document)
            return i - 1;
    }
    documents_.push_back(document);
    return documents_.size() - 1;
}

} // namespace Schema
