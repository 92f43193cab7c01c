#include "wsdl/SchemaNamespaceIndex.h"

#include "schema/SchemaParser.h"

namespace Wsdl {

const std::vector<std::size_t>& SchemaNamespaceIndex::servers(const std::string& ns, const SchemaList& schemas)
{
    if (!built_ || indexed_ != schemas.size())
        build(schemas);
    static const std::vector<std::size_t> none;
    const auto found = byNamespace_.find(ns);
    return found != byNamespace_.end() ? found->second : none;
}

void SchemaNamespaceIndex::forget()
{
    built_ = false;
}

void SchemaNamespaceIndex::build(const SchemaList& schemas)
{
    byNamespace_.clear();
    for (std::size_t i = 0; i < schemas.size(); ++i) {
        const Schema::SchemaParser& schema = *schemas[i];
        byNamespace_[schema.getNamespace()].push_back(i);
        // One import record per namespace: only the schema's own may repeat.
        for (const Schema::SchemaParser::ImportedSchema& imported : schema.getImports()) {
            if (imported.ns != schema.getNamespace())
                byNamespace_[imported.ns].push_back(i);
        }
    }
    indexed_ = schemas.size();
    built_ = true;
}

} // namespace Wsdl
