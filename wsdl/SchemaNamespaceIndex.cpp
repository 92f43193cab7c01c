#include "wsdl/SchemaNamespaceIndex.h"

#include "schema/SchemaParser.h"

#include <algorithm>

namespace Wsdl {

const std::vector<std::size_t>& SchemaNamespaceIndex::servers(const std::string& ns, const SchemaList& schemas,
                                                              RecordJournal& journal)
{
    if (!current_ || recordsIndexed_.size() != schemas.size())
        update(schemas, journal);
    static const std::vector<std::size_t> none;
    const std::vector<std::size_t>* found = byNamespace_.find(ns);
    return found != nullptr ? *found : none;
}

void SchemaNamespaceIndex::forget()
{
    current_ = false;
}

void SchemaNamespaceIndex::update(const SchemaList& schemas, RecordJournal& journal)
{
    const std::size_t indexed = recordsIndexed_.size();
    for (std::size_t r = journalRead_; r < journal.size(); ++r) {
        if (journal[r] < indexed)
            addRecords(*schemas[journal[r]], journal[r]);
    }
    recordsIndexed_.resize(schemas.size(), 0);
    for (std::size_t i = indexed; i < schemas.size(); ++i) {
        schemas[i]->setRecordJournal(&journal, i);
        add(schemas[i]->getNamespace(), i);
        addRecords(*schemas[i], i);
    }
    journalRead_ = journal.size();
    current_ = true;
}

// One import record per namespace: only the schema's own may repeat.
void SchemaNamespaceIndex::addRecords(const Schema::SchemaParser& schema, std::size_t position)
{
    const auto& records = schema.getImports();
    for (std::size_t r = recordsIndexed_[position]; r < records.size(); ++r) {
        if (records[r].ns != schema.getNamespace())
            add(records[r].ns, position);
    }
    recordsIndexed_[position] = records.size();
}

// Each list stays in list order: an older schema's new record goes in its place.
void SchemaNamespaceIndex::add(const std::string& ns, std::size_t position)
{
    std::vector<std::size_t>& positions = byNamespace_.of(ns);
    positions.insert(std::lower_bound(positions.begin(), positions.end(), position), position);
}

} // namespace Wsdl
