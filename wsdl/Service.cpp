#include "wsdl/Service.h"

namespace Wsdl {

Service::Service(WsdlParser* parser) : WsdlElement(parser)
{
}

void Service::addPort(const std::string& name, Binding* binding, int extElementId)
{
    ports_.push_back(Port{name, binding, extElementId});
}

} // namespace Wsdl
