#include "wsdl/Attribute.h"

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

} // namespace Schema
