#ifndef KELVANE_WSDL_SERVICE_H
#define KELVANE_WSDL_SERVICE_H

#include "wsdl/WsdlElement.h"

#include <list>
#include <string>

namespace Wsdl {

class Binding;

// A service: its ports in document order.
class Service : public WsdlElement {
public:
    struct Port {
        std::string name;
        Binding* binding;  // null when the binding was not found
        int extElementId;  // the port's address element; 0 when none
    };

    explicit Service(WsdlParser* parser);

    void addPort(const std::string& name, Binding* binding, int extElementId);
    // The binding of the port at that position, once it is known.
    void setPortBinding(std::size_t position, Binding* binding);
    const std::list<Port>& getPorts() const { return ports_; }

private:
    std::list<Port> ports_;
};

} // namespace Wsdl

#endif
