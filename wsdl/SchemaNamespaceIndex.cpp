#include "wsdl/SchemaNamespaceIndex.h"

#include "schema/SchemaParser.h"

#include <algorithm>

namespace Wsdl {

const std::vector<std::size_t>& SchemaNamespaceIndex::servers(const std::string& ns, const SchemaList& schemas)
{
    if (!current_ || recordsIndexed_.size() != schemas.size())
        update(schemas);
    static const std::vector<std::size_t> none;
    const auto found = byNamespace_.find(ns);
    return found != byNamespace_.end() ? found->second : none;
}

void SchemaNamespaceIndex::forget()
{
    current_ = false;
}

void SchemaNamespaceIndex::update(const SchemaList& schemas)
{
    const std::size_t indexed = recordsIndexed_.size();
    recordsIndexed_.resize(schemas.size(), 0);
    for (std::size_t i = 0; i < schemas.size(); ++i) {
        const Schema::SchemaParser& schema = *schemas[i];
        if (i >= indexed)
            add(schema.getNamespace(), i);
        // One import record per namespace: only the schema's own may repeat.
        const auto& records = schema.getImports();
        for (std::size_t r = recordsIndexed_[i]; r < records.size(); ++r) {
            if (records[r].ns != schema.getNamespace())
                add(records[r].ns, i);
        }
        recordsIndexed_[i] = records.size();
    }
    current_ = true;
}

// Each list stays in list order: an older schema's new record goes in its place.
void SchemaNamespaceIndex::add(const std::string& ns, std::size_t position)
{
    std::vector<std::size_t>& positions = byNamespace_[ns];
    positions.insert(std::lower_bound(positions.begin(), positions.end(), position), position);
}

} // namespace Wsdl
