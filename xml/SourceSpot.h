#ifndef KELVANE_XML_SOURCESPOT_H
#define KELVANE_XML_SOURCESPOT_H

#include <string>

// A place in a document: the document as the user gave it or as an import
// resolved it, and the line and column there (0 when there is none, as for
// a document that could not be read at all).
struct SourceSpot {
    std::string document;
    int line = 0;
    int column = 0;
};

// Every reader message has this one form: "document:line:column: message",
// "document: message" without a position.
std::string locatedMessage(const SourceSpot& spot, const std::string& message);

#endif
