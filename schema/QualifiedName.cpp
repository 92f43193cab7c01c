#include "schema/QualifiedName.h"

#include <ostream>

namespace Schema {

QualifiedName::QualifiedName(const std::string& text)
{
    if (text.empty())
        return;
    const std::string::size_type colon = text.find(':');
    if (colon != std::string::npos && colon > 0) {
        prefix_ = text.substr(0, colon);
        localName_ = text.substr(colon + 1);
    } else {
        localName_ = text;
    }
    const std::string::size_type brackets = localName_.find("[]");
    if (brackets != std::string::npos && brackets > 0)
        localName_.erase(brackets);
}

std::ostream& operator<<(std::ostream& out, const QualifiedName& name)
{
    return out << name.getPrefix() << '{' << name.getNamespace() << "}:" << name.getLocalName();
}

} // namespace Schema
