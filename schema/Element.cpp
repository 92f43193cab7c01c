#include "schema/Element.h"

#include <utility>

namespace Schema {

Element::Element(std::string name, std::string typeNamespace, int typeId, int minOccurs, int maxOccurs,
                 bool qualified, std::string defaultValue, std::string fixedValue)
    : name_(std::move(name)),
      defaultValue_(std::move(defaultValue)),
      fixedValue_(std::move(fixedValue)),
      typeId_(typeId),
      qualified_(qualified),
      minOccurs_(minOccurs),
      maxOccurs_(maxOccurs),
      typeNamespace_(std::move(typeNamespace))
{
}

void Element::assignDeclaration(const Element& declaration)
{
    if (this == &declaration)
        return;
    name_ = declaration.name_;
    defaultValue_ = declaration.defaultValue_;
    fixedValue_ = declaration.fixedValue_;
    typeId_ = declaration.typeId_;
    qualified_ = declaration.qualified_;
    nillable_ = declaration.nillable_;
    typeNamespace_ = declaration.typeNamespace_;
    namespace_ = declaration.namespace_;
    constraint_ = declaration.constraint_;
    forwardRef_.reset();
}

} // namespace Schema
