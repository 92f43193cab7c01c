#include "wsdl/Binding.h"

#include "wsdl/PortType.h"
#include "schema/QualifiedName.h"

namespace Wsdl {

Binding::Binding(WsdlParser* parser) : WsdlElement(parser)
{
}

int Binding::addOperation(Operation* operation)
{
    records_.emplace_back();
    records_.back().operation = operation;
    return getNumOps() - 1;
}

int Binding::addOperation(const Schema::QualifiedName& name)
{
    return addOperation(portType_ != nullptr ? portType_->getOperation(name) : nullptr);
}

const Binding::OperationRecord* Binding::recordAt(int index) const
{
    if (index < 0 || index >= getNumOps())
        return nullptr;
    return &records_[static_cast<std::size_t>(index)];
}

bool Binding::addBindingId(int index, Group group, int id)
{
    if (recordAt(index) == nullptr || group < OperationGroup || group >= GroupCount)
        return false;
    records_[static_cast<std::size_t>(index)].groups[group].push_back(id);
    return true;
}

const std::vector<int>& Binding::getGroupIds(int index, Group group) const
{
    static const std::vector<int> none;
    const OperationRecord* record = recordAt(index);
    if (record == nullptr || group < OperationGroup || group >= GroupCount)
        return none;
    return record->groups[group];
}

int Binding::readGroup(int index, Group group, const int*& ids) const
{
    const std::vector<int>& groupIds = getGroupIds(index, group);
    ids = groupIds.empty() ? nullptr : groupIds.data();
    return static_cast<int>(groupIds.size());
}

int Binding::getOpBinding(int index, const int*& ids) const
{
    return readGroup(index, OperationGroup, ids);
}

int Binding::getInputBinding(int index, const int*& ids) const
{
    return readGroup(index, InputGroup, ids);
}

int Binding::getOutputBinding(int index, const int*& ids) const
{
    return readGroup(index, OutputGroup, ids);
}

int Binding::getFaultBinding(int index, const int*& ids) const
{
    return readGroup(index, FaultGroup, ids);
}

Operation* Binding::getOperation(int index) const
{
    const OperationRecord* record = recordAt(index);
    return record != nullptr ? record->operation : nullptr;
}

} // namespace Wsdl
