#ifndef KELVANE_PROJECT_CALL_REQUESTCHECK_H
#define KELVANE_PROJECT_CALL_REQUESTCHECK_H

#include <string>
#include <vector>

namespace Wsdl {
class WsdlParser;
}
struct CViewOperation;

// Something wrong with a request, at its line and column in the envelope's text.
struct RequestProblem {
    int line = 0;
    int column = 0;
    std::string message;
};

// Checks an envelope of the operation's request: well-formed, the envelope
// of the operation's SOAP version, and the body's content against the WSDL's
// schemas (of the reading op comes from, see CallService) with the schema
// validator (elements, their order and counts, attributes and values).
// Empty when nothing is wrong.
std::vector<RequestProblem> checkRequest(Wsdl::WsdlParser& schemas, const CViewOperation& op,
                                         const std::string& envelope);

#endif
