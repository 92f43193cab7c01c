#ifndef KELVANE_PROJECT_CALL_REQUESTCHECK_H
#define KELVANE_PROJECT_CALL_REQUESTCHECK_H

#include <iosfwd>
#include <memory>
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

// The WSDL document's schemas for checking requests. The service view the
// program holds after a parse keeps no schema model, so the document is read
// once more for them (when the window first checks a request).
class RequestSchemas {
public:
    // The document at wsdlPath with the built-in schemas of schemaFolder.
    RequestSchemas(const std::string& wsdlPath, const std::string& schemaFolder);
    ~RequestSchemas();
    RequestSchemas(const RequestSchemas&) = delete;
    RequestSchemas& operator=(const RequestSchemas&) = delete;

    // Reads the document; false with the reader's messages in why.
    bool read(std::string& why);
    // After a read that returned true.
    Wsdl::WsdlParser& parser() { return *parser_; }

private:
    std::string wsdlPath_;
    std::string schemaFolder_;
    std::unique_ptr<Wsdl::WsdlParser> parser_;
};

// Checks an envelope of the operation's request: well-formed, the envelope
// of the operation's SOAP version, and the body's content against the WSDL's
// schemas with the schema validator (elements, their order and counts,
// attributes and values). Empty when nothing is wrong.
std::vector<RequestProblem> checkRequest(RequestSchemas& schemas, const CViewOperation& op,
                                         const std::string& envelope);

#endif
