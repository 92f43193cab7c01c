#ifndef KELVANE_SCHEMA_DECLARATIONINDEX_H
#define KELVANE_SCHEMA_DECLARATIONINDEX_H

#include <string>
#include <unordered_map>

namespace Schema {

// The global declarations of one kind of one schema by local name (they all
// lie in the schema's namespace). The schema's list keeps them in document
// order and owns them; the index only points into it, so the list must keep
// its elements in place. When a name is declared twice the first one counts,
// as a walk of the list would find it.
template <typename Declaration>
class DeclarationIndex {
public:
    void add(const Declaration& declaration) { byName_.emplace(declaration.getName(), &declaration); }

    const Declaration* find(const std::string& localName) const
    {
        const auto found = byName_.find(localName);
        return found == byName_.end() ? nullptr : found->second;
    }

    void clear() { byName_.clear(); }

private:
    std::unordered_map<std::string, const Declaration*> byName_;
};

} // namespace Schema

#endif
