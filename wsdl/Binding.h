#ifndef KELVANE_WSDL_BINDING_H
#define KELVANE_WSDL_BINDING_H

#include "wsdl/WsdlElement.h"

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
    static constexpr int SlotsPerGroup = 4;

    // The groups of a record, in record order; all faults share one group.
    enum Group { OperationGroup = 0, InputGroup = 1, OutputGroup = 2, FaultGroup = 3, GroupCount = 4 };

    // Ids of one group: four slots, then the number of slots used.
    struct IdGroup {
        int ids[SlotsPerGroup];
        int count;
    };
    static_assert(sizeof(IdGroup) == (SlotsPerGroup + 1) * sizeof(int), "a group is five int words");

    // The operation (null when the port type has none of that name), then the
    // four groups as twenty int words. The operation is kept as a pointer,
    // never in an integer word, so it keeps all its bits on 64-bit builds.
    struct OperationRecord {
        Operation* operation;
        IdGroup groups[GroupCount];
    };

    explicit Binding(WsdlParser* parser);

    // Appends a zero-filled record for the operation; returns its index.
    int addOperation(Operation* operation);
    // Appends a record for the port type's operation of that local name; a
    // binding without a port type, or a name the port type lacks, gives a
    // record with a null operation.
    int addOperation(const Schema::QualifiedName& name);

    // Stores id in the next free slot of the group of record index. A full
    // group (four ids) or a record or group that does not exist refuses the
    // id and returns false; nothing is overwritten, and the caller decides
    // whether to report it.
    bool addBindingId(int index, Group group, int id);

    // Number of ids in the group of record index, with ids set to its first
    // slot; 0 with ids null for a record that does not exist.
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
