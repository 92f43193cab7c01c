#include "wsdl/PortType.h"

#include "wsdl/Binding.h"
#include "schema/QualifiedName.h"

#include <utility>

namespace Wsdl {

PortType::PortType(WsdlParser* parser) : WsdlElement(parser)
{
}

PortType::~PortType() = default;

void PortType::addOperation(std::unique_ptr<Operation> operation)
{
    if (!operation)
        return;
    operations_.push_back(std::move(operation));
    const int index = getNumOps() - 1;
    operationIndex_.emplace(operationName(index), index, [this](int filed) { return operationName(filed); });
}

Operation* PortType::getOperation(int index) const
{
    if (index < 0 || index >= getNumOps())
        return nullptr;
    return operations_[static_cast<std::size_t>(index)].get();
}

Operation* PortType::getOperation(const Schema::QualifiedName& name) const
{
    return getOperation(findOperation(name));
}

int PortType::getOperationIndex(const Schema::QualifiedName& name) const
{
    const int index = findOperation(name);
    return index < 0 ? 0 : index;
}

int PortType::findOperation(const Schema::QualifiedName& name) const
{
    const int* found = operationIndex_.find(name.getLocalName(), [this](int filed) { return operationName(filed); });
    return found == nullptr ? -1 : *found;
}

Binding* PortType::getBinding(const std::string& ns) const
{
    for (Binding* binding : bindings_) {
        if (binding->getProtocolNamespace() == ns)
            return binding;
    }
    return nullptr;
}

} // namespace Wsdl
