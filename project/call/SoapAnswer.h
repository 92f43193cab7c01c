#ifndef KELVANE_PROJECT_CALL_SOAPANSWER_H
#define KELVANE_PROJECT_CALL_SOAPANSWER_H

#include <string>

// A SOAP fault of an answer (1.1 or 1.2), in words a user reads.
struct SoapFaultWords {
    bool isFault = false;
    std::string code;     // faultcode, or Code/Value, as written (prefix kept)
    std::string subcode;  // SOAP 1.2 Subcode/Value (nested ones joined with " / "); empty in SOAP 1.1
    std::string text;     // faultstring, or the first Reason/Text
    std::string detail;   // the detail's content as XML, indented; empty without
    // Code, subcode, reason and detail on lines of their own.
    std::string plain() const;
};

// The fault the body of an answer holds; isFault false when it holds none or
// is no envelope.
SoapFaultWords readFault(const std::string& body);

// The document indented two spaces a level, each element on a line of its
// own unless it holds text; the text unchanged when it is not well-formed XML.
std::string indentXml(const std::string& xml);

#endif
