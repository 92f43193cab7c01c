#include "wsdl/PortType.h"

#include "wsdl/QualifiedName.h"

#include <utility>

namespace Wsdl {

PortType::PortType(WsdlParser* parser) : WsdlElement(parser)
{
}

PortType::~PortType() = default;

void PortType::addOperation(std::unique_ptr<Operation> operation)
{
    if (operation)
        operations_.push_back(std::move(operation));
}

Operation* PortType::getOperation(int index) const
{
    if (index < 0 || index >= getNumOps())
        return nullptr;
    return operations_[static_cast<std::size_t>(index)].get();
}

Operation* PortType::getOperation(const Schema::QualifiedName& name) const
{
    for (const std::unique_ptr<Operation>& operation : operations_) {
        if (operation->getName() == name.getLocalName())
            return operation.get();
    }
    return nullptr;
}

} // namespace Wsdl
