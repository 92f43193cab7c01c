#ifndef KELVANE_WSDL_SCHEMALINKS_H
#define KELVANE_WSDL_SCHEMALINKS_H

#include "wsdl/NamespacePositions.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace Schema {
class SchemaParser;
}

namespace Wsdl {

// Links the schemas of one parse with each other: each is told of every
// other schema of its own namespace and of each namespace it names, in list
// order (the first two, the built-in ones, stand apart). A parse links again
// after each imported document; linking every schema anew each time grew
// with the square of the documents. Only the new schemas are linked with
// all, an older one only with the new ones of the namespaces it names (it
// knows the older ones already), unless it has come to name another
// namespace since it was linked last: then it is linked with all again. The
// outcome is the same as relinking every schema.
//
// The schemas keep a journal of the import records they gain (the parse's
// own, shared with its other readers of records): the schemas that came to
// name a namespace are found there, not by asking every older schema, which
// also grew with the square of the documents.
class SchemaLinks {
public:
    using SchemaList = std::vector<std::unique_ptr<Schema::SchemaParser>>;
    using RecordJournal = std::vector<std::size_t>;

    // Links the schemas the list holds beyond those linked before; they
    // note the records they gain from now on in journal.
    void link(const SchemaList& schemas, RecordJournal& journal);

private:
    // The first two, the built-in schemas, are linked by hand.
    static constexpr std::size_t BuiltIns = 2;

    // Tells the schema at position of every other schema of each namespace it names.
    void linkWithAll(const SchemaList& schemas, std::size_t position);
    void linkWithNamespace(const SchemaList& schemas, std::size_t position, const std::string& ns);
    // Notes the namespaces the schema names through import records it has
    // gained since it was noted last.
    void noteNamedNamespaces(const Schema::SchemaParser& schema, std::size_t position);
    // The older schemas that gained records since the last linking, each once, in list order.
    std::vector<std::size_t> grownSince(const SchemaList& schemas, const RecordJournal& journal, std::size_t linked) const;

    // The schemas linked so far by target namespace, and by each namespace
    // they name (their own or an import record's), as positions in the list.
    NamespacePositions byNamespace_;
    NamespacePositions namedBy_;
    // Per schema linked: how many of its import records are noted.
    std::vector<std::size_t> recordsNoted_;
    // How much of the journal the last linking read.
    std::size_t journalRead_ = 0;
};

} // namespace Wsdl

#endif
