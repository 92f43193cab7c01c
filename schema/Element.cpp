#include "schema/Element.h"

#include <utility>

namespace Schema {

Element::Element(std::string name, SharedText typeNamespace, int typeId, int minOccurs, int maxOccurs,
                 bool qualified, std::string defaultValue, std::string fixedValue)
    : typeId_(typeId),
      minOccurs_(minOccurs),
      maxOccurs_(maxOccurs),
      qualified_(qualified),
      name_(std::move(name)),
      typeNamespace_(std::move(typeNamespace))
{
    if (!defaultValue.empty() || !fixedValue.empty())
        valueConstraint_ = std::make_shared<const ValueConstraint>(
            ValueConstraint{std::move(defaultValue), std::move(fixedValue)});
}

const Element::ValueConstraint& Element::valueConstraint() const
{
    static const ValueConstraint none;
    return valueConstraint_ ? *valueConstraint_ : none;
}

void Element::assignDeclaration(const Element& declaration)
{
    if (this == &declaration)
        return;
    name_ = declaration.name_;
    valueConstraint_ = declaration.valueConstraint_;
    typeId_ = declaration.typeId_;
    qualified_ = declaration.qualified_;
    nillable_ = declaration.nillable_;
    typeNamespace_ = declaration.typeNamespace_;
    namespace_ = declaration.namespace_;
    constraint_ = declaration.constraint_;
    builtinName_ = declaration.builtinName_;
    forwardRef_.reset();
}

} // namespace Schema
