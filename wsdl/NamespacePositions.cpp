#include "wsdl/NamespacePositions.h"

namespace Wsdl {

const std::vector<std::size_t>* NamespacePositions::find(const std::string& ns) const
{
    const std::uint32_t* entry = index_.find(ns, [this](std::uint32_t e) { return nameAt(e); });
    return entry != nullptr ? &namespaces_[*entry].positions : nullptr;
}

std::vector<std::size_t>& NamespacePositions::of(const std::string& ns)
{
    const auto make = [this, &ns] {
        namespaces_.push_back(Namespace{ns, {}});
        return static_cast<std::uint32_t>(namespaces_.size() - 1);
    };
    const std::uint32_t entry = *index_.emplaceMade(ns, [this](std::uint32_t e) { return nameAt(e); }, make).first;
    return namespaces_[entry].positions;
}

} // namespace Wsdl
