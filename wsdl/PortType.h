#ifndef KELVANE_WSDL_PORTTYPE_H
#define KELVANE_WSDL_PORTTYPE_H

#include "wsdl/Operation.h"
#include "wsdl/WsdlElement.h"

#include <memory>
#include <vector>

namespace Schema {
class QualifiedName;
}

namespace Wsdl {

class Binding;

// A port type: its operations (owned) and the bindings that name it.
class PortType : public WsdlElement {
public:
    explicit PortType(WsdlParser* parser);
    ~PortType() override;

    void addOperation(std::unique_ptr<Operation> operation);
    int getNumOps() const { return static_cast<int>(operations_.size()); }
    // Null outside 0 .. getNumOps() - 1.
    Operation* getOperation(int index) const;
    // The first operation named like the local part of name, or null.
    Operation* getOperation(const Schema::QualifiedName& name) const;
    const std::vector<std::unique_ptr<Operation>>& getOperations() const { return operations_; }

    void addBinding(Binding* binding) { bindings_.push_back(binding); }
    const std::vector<Binding*>& getBindings() const { return bindings_; }

private:
    std::vector<std::unique_ptr<Operation>> operations_;
    std::vector<Binding*> bindings_;
};

} // namespace Wsdl

#endif
