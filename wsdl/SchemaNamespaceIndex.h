#ifndef KELVANE_WSDL_SCHEMANAMESPACEINDEX_H
#define KELVANE_WSDL_SCHEMANAMESPACEINDEX_H

#include <cstddef>
#include <memory>
#include <string>
#include <unordered_map>
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
// The index is built on the first look-up after the list grows or the owner
// calls forget(): the owner forgets it whenever a listed schema may have
// learnt a namespace.
class SchemaNamespaceIndex {
public:
    using SchemaList = std::vector<std::unique_ptr<Schema::SchemaParser>>;

    const std::vector<std::size_t>& servers(const std::string& ns, const SchemaList& schemas);
    void forget();

private:
    void build(const SchemaList& schemas);

    std::unordered_map<std::string, std::vector<std::size_t>> byNamespace_;
    // How many schemas the index was built over; none before the first build.
    std::size_t indexed_ = 0;
    bool built_ = false;
};

} // namespace Wsdl

#endif
