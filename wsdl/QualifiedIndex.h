#ifndef KELVANE_WSDL_QUALIFIEDINDEX_H
#define KELVANE_WSDL_QUALIFIEDINDEX_H

#include <string>
#include <string_view>
#include <unordered_map>

namespace Wsdl {

// The first element filed under each namespace and local name. A look-up
// takes the two strings as they are and builds no key of its own, for the
// names of a large description are looked up once per reference. The local
// name filed is a view of the name the element holds, which must stay as it
// is while the element is filed.
template <typename Element>
class QualifiedIndex {
public:
    // Keeps an element already filed under the name.
    void add(const std::string& ns, std::string_view localName, Element* element)
    {
        byNamespace_[ns].emplace(localName, element);
    }

    Element* find(const std::string& ns, std::string_view localName) const
    {
        const auto names = byNamespace_.find(ns);
        if (names == byNamespace_.end())
            return nullptr;
        const auto found = names->second.find(localName);
        return found == names->second.end() ? nullptr : found->second;
    }

private:
    std::unordered_map<std::string, std::unordered_map<std::string_view, Element*>> byNamespace_;
};

} // namespace Wsdl

#endif
