#include "wsdl/Message.h"

namespace Wsdl {

Message::Message(WsdlParser* parser) : WsdlElement(parser)
{
}

void Message::addPart(const std::string& name, int refKind, const void* reference, int schemaPosition,
                      const char* builtinName)
{
    if (refKind == Part::ElementRef) {
        parts_.push_back(Part::elementPart(name, static_cast<const Schema::Element*>(reference), schemaPosition));
        return;
    }
    const int typeId = reference != nullptr ? *static_cast<const int*>(reference) : 0;
    parts_.push_back(Part::typePart(name, typeId, schemaPosition, builtinName));
}

const Part* Message::partAt(int index) const
{
    if (index < 0 || index >= getNumParts())
        return nullptr;
    return &parts_[static_cast<std::size_t>(index)];
}

std::string Message::getPartName(int index) const
{
    const Part* part = partAt(index);
    return part != nullptr ? part->getName() : std::string();
}

int Message::getPartType(int index) const
{
    const Part* part = partAt(index);
    return part != nullptr ? part->getType() : 0;
}

const Schema::Element* Message::getPartElement(int index) const
{
    const Part* part = partAt(index);
    return part != nullptr ? part->getElement() : nullptr;
}

int Message::getPartRefKind(int index) const
{
    const Part* part = partAt(index);
    return part != nullptr ? part->getRefKind() : Part::None;
}

int Message::getPartIndex(const std::string& name) const
{
    for (int i = 0; i < getNumParts(); ++i) {
        if (parts_[static_cast<std::size_t>(i)].getName() == name)
            return i;
    }
    return -1;
}

const Part* Message::getPart(const std::string& name) const
{
    return partAt(getPartIndex(name));
}

void Message::forgetDeclarations()
{
    for (Part& part : parts_)
        part.forgetDeclaration();
}

} // namespace Wsdl
