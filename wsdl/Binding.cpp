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
    OperationRecord& record = records_[static_cast<std::size_t>(index)];
    record.ids.insert(record.ids.begin() + record.ends[group], id);
    for (int later = group; later < GroupCount; ++later)
        ++record.ends[later];
    return true;
}

std::vector<int> Binding::getGroupIds(int index, Group group) const
{
    const int* ids = nullptr;
    const int count = readGroup(index, group, ids);
    return std::vector<int>(ids, ids + count);
}

int Binding::readGroup(int index, Group group, const int*& ids) const
{
    ids = nullptr;
    const OperationRecord* record = recordAt(index);
    if (record == nullptr || group < OperationGroup || group >= GroupCount)
        return 0;
    const std::uint32_t begin = group == OperationGroup ? 0 : record->ends[group - 1];
    const std::uint32_t end = record->ends[group];
    if (begin != end)
        ids = record->ids.data() + begin;
    return static_cast<int>(end - begin);
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
