#include "wsdl/Service.h"

#include <iterator>

namespace Wsdl {

Service::Service(WsdlParser* parser) : WsdlElement(parser)
{
}

void Service::addPort(const std::string& name, Binding* binding, int extElementId)
{
    ports_.push_back(Port{name, binding, extElementId});
}

void Service::setPortBinding(std::size_t position, Binding* binding)
{
    if (position >= ports_.size())
        return;
    auto port = ports_.begin();
    std::advance(port, static_cast<std::ptrdiff_t>(position));
    port->binding = binding;
}

} // namespace Wsdl
