#ifndef KELVANE_WSDL_PORTTYPE_H
#define KELVANE_WSDL_PORTTYPE_H

#include "schema/FlatIndex.h"
#include "wsdl/Operation.h"
#include "wsdl/WsdlElement.h"

#include <memory>
#include <functional>
#include <string>
#include <string_view>
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
    // The position of that operation; 0 also when there is none, as the
    // generator expects.
    int getOperationIndex(const Schema::QualifiedName& name) const;
    const std::vector<std::unique_ptr<Operation>>& getOperations() const { return operations_; }

    void addBinding(Binding* binding) { bindings_.push_back(binding); }
    const std::vector<Binding*>& getBindings() const { return bindings_; }
    // The first binding whose protocol namespace is ns; null when none.
    Binding* getBinding(const std::string& ns) const;

private:
    int findOperation(const Schema::QualifiedName& name) const; // -1 when none
    std::string_view operationName(int index) const { return operations_[static_cast<std::size_t>(index)]->getName(); }

    std::vector<std::unique_ptr<Operation>> operations_;
    // The first operation of each name, by position: every binding operation
    // is matched by name.
    Schema::FlatIndex<int, std::string_view, std::hash<std::string_view>> operationIndex_;
    std::vector<Binding*> bindings_;
};

} // namespace Wsdl

#endif
