#include "schema/XsdType.h"

#include "schema/SchemaConstants.h"

#include <utility>

namespace Schema {

XsdType::XsdType(SharedText typeNamespace)
    : namespace_(std::move(typeNamespace)), baseTypeId_(XSD_ANYTYPE)
{
}

void XsdType::setBaseType(int baseTypeId, int derivation)
{
    baseTypeId_ = baseTypeId;
    derivation_ = derivation;
}

QualifiedName XsdType::getQName() const
{
    // Type names are NCNames: the constructor takes them whole.
    QualifiedName qname(name_);
    qname.setNamespace(namespace_.str());
    return qname;
}

} // namespace Schema
