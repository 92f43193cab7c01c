#include "wsdl/Part.h"

#include "schema/Element.h"

namespace Wsdl {

Part::Part(const std::string& name, int refKind, const Schema::Element* element, int typeId, int schemaPosition,
           const char* builtinName)
    : name_(name), refKind_(refKind), element_(element), typeId_(typeId), schemaPosition_(schemaPosition),
      builtinName_(builtinName)
{
}

Part Part::elementPart(const std::string& name, const Schema::Element* element, int schemaPosition)
{
    return Part(name, ElementRef, element, 0, schemaPosition, nullptr);
}

Part Part::typePart(const std::string& name, int typeId, int schemaPosition, const char* builtinName)
{
    return Part(name, TypeRef, nullptr, typeId, schemaPosition, builtinName);
}

const Schema::Element* Part::getElement() const
{
    return refKind_ == ElementRef ? element_ : nullptr;
}

int Part::getType() const
{
    if (refKind_ == TypeRef)
        return typeId_;
    return element_ != nullptr ? element_->getType() : 0;
}

void Part::forgetDeclaration()
{
    element_ = nullptr;
    schemaPosition_ = -1;
}

} // namespace Wsdl
