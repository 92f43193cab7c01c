#ifndef KELVANE_GENERATOR_SAMPLE_SAMPLEREQUEST_H
#define KELVANE_GENERATOR_SAMPLE_SAMPLEREQUEST_H

#include "generator/model/ServiceView.h"

#include <string>

// The request an operation sends, as an indented envelope filled with
// sample values: numbers count up from 1, texts are their element's name
// and a number, enumerations take their first value, booleans are true,
// dates, binary and URI texts a fixed valid value; optional elements stand
// once, repeated ones twice, a choice by its first element, and a type
// that holds itself is entered again only down to a few levels. The
// envelope is SOAP 1.1 or 1.2 as the operation's binding says; an rpc
// operation wraps its parts in an element of its name in the body's
// namespace.
struct CSampleRequest {
    std::string envelope;
    std::string soapAction;
    // The HTTP Content-Type: text/xml for SOAP 1.1, application/soap+xml
    // with the action for SOAP 1.2.
    std::string contentType;
};

CSampleRequest sampleRequest(const CViewOperation& operation);

#endif
