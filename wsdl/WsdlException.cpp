#include "wsdl/WsdlException.h"

#include <algorithm>

namespace Wsdl {

WsdlException::WsdlException(const std::string& message) : description("WSDL  Parser Exception : " + message)
{
}

std::string reportText(const std::string& description)
{
    static const std::string outer = "WSDL  Parser Exception : ";
    static const std::string inner = "Wsdl Parser Exception : ";
    const bool doubled = description.compare(0, outer.size(), outer) == 0 &&
        description.compare(outer.size(), inner.size(), inner) == 0;
    std::string text = doubled ? description.substr(outer.size()) : description;
    text.erase(std::min(text.find('\n'), text.size())); // a schema failure's closing line stays with it
    return text;
}

} // namespace Wsdl
