#ifndef KELVANE_SCHEMA_DECLARATIONINDEX_H
#define KELVANE_SCHEMA_DECLARATIONINDEX_H

#include "schema/FlatIndex.h"

#include <functional>
#include <string_view>

namespace Schema {

// The global declarations of one kind of one schema by local name (they all
// lie in the schema's namespace). The schema's list keeps them in document
// order and owns them; the index only points into it and reads each name
// there, so the list must keep its elements in place and a declaration's
// name never changes. When a name is declared twice the first one counts,
// as a walk of the list would find it.
template <typename Declaration>
class DeclarationIndex {
public:
    void add(const Declaration& declaration) { byName_.emplace(declaration.getName(), &declaration, nameOf); }

    const Declaration* find(std::string_view localName) const
    {
        const Declaration* const* found = byName_.find(localName, nameOf);
        return found != nullptr ? *found : nullptr;
    }

    void clear() { byName_.clear(); }

private:
    static std::string_view nameOf(const Declaration* declaration) { return declaration->getName(); }

    FlatIndex<const Declaration*, std::string_view, std::hash<std::string_view>> byName_;
};

} // namespace Schema

#endif
