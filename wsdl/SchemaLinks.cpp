#include "wsdl/SchemaLinks.h"

#include "schema/SchemaParser.h"

#include <algorithm>
#include <unordered_set>

namespace Wsdl {

void SchemaLinks::link(const SchemaList& schemas, RecordJournal& journal)
{
    const std::size_t linked = std::max(BuiltIns, recordsNoted_.size());
    if (schemas.size() <= linked)
        return;
    recordsNoted_.resize(schemas.size(), 0);
    for (std::size_t j = linked; j < schemas.size(); ++j)
        schemas[j]->setRecordJournal(&journal, j);
    // Settling may have given an older schema a namespace to name since.
    const std::vector<std::size_t> grown = grownSince(schemas, journal, linked);
    const std::unordered_set<std::size_t> relinked(grown.begin(), grown.end());
    for (std::size_t j = linked; j < schemas.size(); ++j) {
        const std::string& ns = schemas[j]->getNamespace();
        byNamespace_.of(ns).push_back(j);
        // The older ones that name the new schema's namespace learn of it,
        // the new ones of a namespace in list order.
        const std::vector<std::size_t>* naming = namedBy_.find(ns);
        if (naming == nullptr)
            continue;
        for (const std::size_t i : *naming) {
            if (relinked.count(i) == 0)
                schemas[i]->addImport(schemas[j].get());
        }
    }
    for (const std::size_t i : grown)
        linkWithAll(schemas, i);
    for (std::size_t j = linked; j < schemas.size(); ++j) {
        namedBy_.of(schemas[j]->getNamespace()).push_back(j);
        linkWithAll(schemas, j);
    }
    // What the older schemas gained, before and by this linking, and all the new ones have.
    for (std::size_t r = journalRead_; r < journal.size(); ++r) {
        if (journal[r] >= BuiltIns && journal[r] < linked)
            noteNamedNamespaces(*schemas[journal[r]], journal[r]);
    }
    for (std::size_t j = linked; j < schemas.size(); ++j)
        noteNamedNamespaces(*schemas[j], j);
    journalRead_ = journal.size();
}

std::vector<std::size_t> SchemaLinks::grownSince(const SchemaList& schemas, const RecordJournal& journal,
                                                 std::size_t linked) const
{
    std::vector<std::size_t> grown;
    for (std::size_t r = journalRead_; r < journal.size(); ++r) {
        const std::size_t i = journal[r];
        if (i >= BuiltIns && i < linked && schemas[i]->getImports().size() != recordsNoted_[i])
            grown.push_back(i);
    }
    std::sort(grown.begin(), grown.end());
    grown.erase(std::unique(grown.begin(), grown.end()), grown.end());
    return grown;
}

void SchemaLinks::linkWithAll(const SchemaList& schemas, std::size_t position)
{
    Schema::SchemaParser& schema = *schemas[position];
    // Telling the schema adds to its records: those it had are counted
    // first and read by position.
    const std::size_t records = schema.getImports().size();
    linkWithNamespace(schemas, position, schema.getNamespace());
    for (std::size_t r = 0; r < records; ++r)
        linkWithNamespace(schemas, position, schema.getImports()[r].ns);
}

// ns may be one of the schema's records: it is read before the schema is told anything.

void SchemaLinks::linkWithNamespace(const SchemaList& schemas, std::size_t position, const std::string& ns)
{
    const std::vector<std::size_t>* siblings = byNamespace_.find(ns);
    if (siblings == nullptr)
        return;
    for (const std::size_t sibling : *siblings) {
        if (sibling != position)
            schemas[position]->addImport(schemas[sibling].get());
    }
}

// A schema's own namespace is noted when it is first linked; its import
// records only grow, and each names a namespace once.
void SchemaLinks::noteNamedNamespaces(const Schema::SchemaParser& schema, std::size_t position)
{
    const auto& records = schema.getImports();
    for (std::size_t r = recordsNoted_[position]; r < records.size(); ++r) {
        if (records[r].ns != schema.getNamespace())
            namedBy_.of(records[r].ns).push_back(position);
    }
    recordsNoted_[position] = records.size();
}

} // namespace Wsdl
