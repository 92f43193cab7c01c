#ifndef KELVANE_WSDL_BINDING_H
#define KELVANE_WSDL_BINDING_H

#include "wsdl/WsdlElement.h"

#include <array>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

namespace Schema {
class QualifiedName;
}

namespace Wsdl {

class Operation;
class PortType;
class Service;

// A binding: one record of extensibility-element ids per operation child,
// the port type it binds and the protocol its binding-level element names.
class Binding : public WsdlElement {
public:
    // The groups of a record, in record order; all faults of an operation
    // share one group, and so do an input's body and its headers.
    enum Group { OperationGroup = 0, InputGroup = 1, OutputGroup = 2, FaultGroup = 3, GroupCount = 4 };

    // One binding operation: the port type's operation (null when it has
    // none of that name) and the extensibility-element ids of each group in
    // document order. A group holds any number of ids.
    // The ids of the four groups lie one run after another in one vector:
    // a binding of thousands of operations keeps one small block for each.
    struct OperationRecord {
        Operation* operation = nullptr;
        std::vector<int> ids;
        std::array<std::uint32_t, GroupCount> ends{}; // where each group's run ends
    };

    explicit Binding(WsdlParser* parser);

    // Appends a zero-filled record for the operation; returns its index.
    int addOperation(Operation* operation);
    // Appends a record for the port type's operation of that local name; a
    // binding without a port type, or a name the port type lacks, gives a
    // record with a null operation.
    int addOperation(const Schema::QualifiedName& name);

    // Appends id to the group of record index; false (and nothing stored)
    // only for a record or group that does not exist.
    bool addBindingId(int index, Group group, int id);

    // The ids of one group of record index, in document order; empty for a
    // record or group that does not exist.
    std::vector<int> getGroupIds(int index, Group group) const;
    // The same as a count and a pointer: returns the number of ids and sets
    // ids to the first of them (null when there are none). The pointer stays
    // valid until an id is added to any group of that record: the four groups
    // share one vector.
    int getOpBinding(int index, const int*& ids) const;
    int getInputBinding(int index, const int*& ids) const;
    int getOutputBinding(int index, const int*& ids) const;
    int getFaultBinding(int index, const int*& ids) const;

    int getNumOps() const { return static_cast<int>(records_.size()); }
    // Null for a record that does not exist or names no operation.
    Operation* getOperation(int index) const;

    PortType* getPortType() const { return portType_; }
    void setPortType(PortType* portType) { portType_ = portType; }
    const std::string& getProtocolNamespace() const { return protocolNamespace_; }
    void setProtocolNamespace(const std::string& uri) { protocolNamespace_ = uri; }
    int getProtocolElementId() const { return protocolElementId_; }
    void setProtocolElementId(int id) { protocolElementId_ = id; }

    void addService(Service* service) { services_.push_back(service); }
    const std::list<Service*>& getServices() const { return services_; }

private:
    const OperationRecord* recordAt(int index) const;
    int readGroup(int index, Group group, const int*& ids) const;

    std::vector<OperationRecord> records_;
    PortType* portType_ = nullptr;
    std::string protocolNamespace_;
    int protocolElementId_ = 0;
    std::list<Service*> services_;
};

} // namespace Wsdl

#endif
