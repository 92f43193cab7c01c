#ifndef KELVANE_WSDL_WSDLEXCEPTION_H
#define KELVANE_WSDL_WSDLEXCEPTION_H

#include <string>

namespace Wsdl {

// Thrown by value for every fatal WSDL error; derives from nothing. The
// parser fills in the state (the element kind it stood on) and the position
// where it knows them; callers read the four fields directly.
class WsdlException {
public:
    explicit WsdlException(const std::string& message);

    std::string description; // "WSDL  Parser Exception : " + message
    int state = 0;
    int line = 0;
    int column = 0;
};

} // namespace Wsdl

#endif
