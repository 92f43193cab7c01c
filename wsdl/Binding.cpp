#include "wsdl/Binding.h"

#include "wsdl/PortType.h"
#include "schema/QualifiedName.h"

namespace Wsdl {

Binding::Binding(WsdlParser* parser) : WsdlElement(parser)
{
}

int Binding::addOperation(Operation* operation)
{
    OperationRecord record{};
    record.operation = operation;
    records_.push_back(record);
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
    IdGroup& slots = records_[static_cast<std::size_t>(index)].groups[group];
    if (slots.count >= SlotsPerGroup)
        return false;
    slots.ids[slots.count++] = id;
    return true;
}

int Binding::readGroup(int index, Group group, const int*& ids) const
{
    const OperationRecord* record = recordAt(index);
    if (record == nullptr) {
        ids = nullptr;
        return 0;
    }
    ids = record->groups[group].ids;
    return record->groups[group].count;
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
