#include "wsdl/WsdlException.h"

namespace Wsdl {

WsdlException::WsdlException(const std::string& message) : description("WSDL  Parser Exception : " + message)
{
}

} // namespace Wsdl
