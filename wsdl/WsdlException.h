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
    std::string document;    // where the fault lies; empty for the document being read
    int line = 0;
    int column = 0;
};

// The text a report line shows of a parser exception's description: one
// line, and the prefix once where the exception and the message both bring it.
std::string reportText(const std::string& description);

} // namespace Wsdl

#endif
