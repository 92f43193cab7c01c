#ifndef KELVANE_WSDL_SCHEMANAMESPACEINDEX_H
#define KELVANE_WSDL_SCHEMANAMESPACEINDEX_H

#include "wsdl/NamespacePositions.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace Schema {
class SchemaParser;
}

namespace Wsdl {

// The schemas of a parse that serve each namespace (their target namespace,
// or one they know through an import record), as positions in the parser's
// list, in list order. A reference looks up only the schemas of its
// namespace instead of asking every schema whether it serves it, which grew
// with the square of the schemas in a description of many namespaces.
//
// The index is brought up to date on the first look-up after the list grows
// or the owner calls forget(): the owner forgets it whenever a listed schema
// may have learnt a namespace. Schemas only gain import records, so only the
// new schemas and the new records are indexed: rebuilding it whole after each
// imported document grew with the square of the documents. The schemas that
// gained records are found in the journal they keep of them (the parse's own,
// shared with its other readers of records), not by asking every one.
class SchemaNamespaceIndex {
public:
    using SchemaList = std::vector<std::unique_ptr<Schema::SchemaParser>>;
    using RecordJournal = std::vector<std::size_t>;

    // The schemas indexed note the records they gain from now on in journal.
    const std::vector<std::size_t>& servers(const std::string& ns, const SchemaList& schemas, RecordJournal& journal);
    void forget();

private:
    void update(const SchemaList& schemas, RecordJournal& journal);
    void addRecords(const Schema::SchemaParser& schema, std::size_t position);
    void add(const std::string& ns, std::size_t position);

    NamespacePositions byNamespace_;
    // Per schema indexed: how many of its import records are.
    std::vector<std::size_t> recordsIndexed_;
    // How much of the journal the last update read.
    std::size_t journalRead_ = 0;
    bool current_ = false;
};

} // namespace Wsdl

#endif
