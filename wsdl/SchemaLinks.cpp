#include "wsdl/SchemaLinks.h"

#include "schema/SchemaParser.h"

#include <algorithm>

namespace Wsdl {

void SchemaLinks::link(const SchemaList& schemas)
{
    const std::size_t linked = std::max(BuiltIns, recordsNoted_.size());
    if (schemas.size() <= linked)
        return;
    recordsNoted_.resize(schemas.size(), 0);
    // Settling may have given an older schema a namespace to name since.
    std::vector<bool> grown(linked, false);
    for (std::size_t i = BuiltIns; i < linked; ++i)
        grown[i] = schemas[i]->getImports().size() != recordsNoted_[i];
    for (std::size_t j = linked; j < schemas.size(); ++j) {
        const std::string& ns = schemas[j]->getNamespace();
        byNamespace_[ns].push_back(j);
        // The older ones that name the new schema's namespace learn of it,
        // the new ones of a namespace in list order.
        for (const std::size_t i : namedBy_[ns]) {
            if (!grown[i])
                schemas[i]->addImport(schemas[j].get());
        }
    }
    for (std::size_t i = BuiltIns; i < linked; ++i) {
        if (grown[i])
            linkWithAll(schemas, i);
    }
    for (std::size_t j = linked; j < schemas.size(); ++j) {
        namedBy_[schemas[j]->getNamespace()].push_back(j);
        linkWithAll(schemas, j);
    }
    for (std::size_t i = BuiltIns; i < schemas.size(); ++i)
        noteNamedNamespaces(*schemas[i], i);
}

void SchemaLinks::linkWithAll(const SchemaList& schemas, std::size_t position)
{
    Schema::SchemaParser& schema = *schemas[position];
    std::vector<std::string> named{schema.getNamespace()};
    for (const Schema::SchemaParser::ImportedSchema& imported : schema.getImports())
        named.push_back(imported.ns);
    for (const std::string& ns : named) {
        const auto siblings = byNamespace_.find(ns);
        if (siblings == byNamespace_.end())
            continue;
        for (const std::size_t sibling : siblings->second) {
            if (sibling != position)
                schema.addImport(schemas[sibling].get());
        }
    }
}

// A schema's own namespace is noted when it is first linked; its import
// records only grow, and each names a namespace once.
void SchemaLinks::noteNamedNamespaces(const Schema::SchemaParser& schema, std::size_t position)
{
    const auto& records = schema.getImports();
    for (std::size_t r = recordsNoted_[position]; r < records.size(); ++r) {
        if (records[r].ns != schema.getNamespace())
            namedBy_[records[r].ns].push_back(position);
    }
    recordsNoted_[position] = records.size();
}

} // namespace Wsdl
