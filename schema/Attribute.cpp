#include "schema/Attribute.h"

#include <utility>

namespace Schema {

Attribute::Attribute(std::string name, int typeId, bool qualified, std::string defaultValue,
                     std::string fixedValue, bool useRequired)
    : name_(std::move(name)),
      defaultValue_(std::move(defaultValue)),
      fixedValue_(std::move(fixedValue)),
      typeId_(typeId),
      qualified_(qualified),
      useRequired_(useRequired)
{
}

void Attribute::assignDeclaration(const Attribute& declaration)
{
    if (this == &declaration)
        return;
    name_ = declaration.name_;
    typeId_ = declaration.typeId_;
    qualified_ = declaration.qualified_;
    namespace_ = declaration.namespace_;
    builtinName_ = declaration.builtinName_;
    if (defaultValue_.empty())
        defaultValue_ = declaration.defaultValue_;
    if (fixedValue_.empty())
        fixedValue_ = declaration.fixedValue_;
    forwardRef_.reset();
}

} // namespace Schema
