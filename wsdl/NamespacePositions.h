#ifndef KELVANE_WSDL_NAMESPACEPOSITIONS_H
#define KELVANE_WSDL_NAMESPACEPOSITIONS_H

#include "schema/FlatIndex.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace Wsdl {

// Positions in a list of schemas, filed by namespace. A description may name
// tens of thousands of namespaces, each looked up or filed once per schema
// that names it: a node-based map of strings read a bucket, a node and the
// list's own block, each out of cache at that size, and allocated two blocks
// per namespace. Here the namespaces are kept in filing order in one array,
// found through a flat index of their hashes.
class NamespacePositions {
public:
    // The positions filed under ns, in the order filed; null when none are.
    const std::vector<std::size_t>* find(const std::string& ns) const;
    // The positions of ns, made empty when ns is new.
    std::vector<std::size_t>& of(const std::string& ns);

private:
    struct Namespace {
        std::string name;
        std::vector<std::size_t> positions;
    };

    std::string_view nameAt(std::uint32_t entry) const { return namespaces_[entry].name; }

    std::vector<Namespace> namespaces_;
    Schema::FlatIndex<std::uint32_t, std::string_view, std::hash<std::string_view>> index_;
};

} // namespace Wsdl

#endif
