#ifndef KELVANE_WSDL_WSDLELEMENT_H
#define KELVANE_WSDL_WSDLELEMENT_H

#include "schema/SharedText.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace Wsdl {

class WsdlParser;

// Base of the WSDL element classes. Protocol details live with the extension
// handlers; an element keeps only the integer ids they hand out. Elements are
// created and owned by the parser and refer to each other without owning.
class WsdlElement {
public:
    explicit WsdlElement(WsdlParser* parser);
    virtual ~WsdlElement();
    WsdlElement(const WsdlElement&) = delete;
    WsdlElement& operator=(const WsdlElement&) = delete;

    // Diagnostic listing: the extensibility-element ids, then the attribute ids.
    virtual void print(std::ostream& out) const;

    const std::string& getName() const { return name_; }
    void setName(const std::string& name) { name_ = name; }
    // The target namespace of the document that defines the element: a
    // service may be spread over documents of several namespaces.
    const std::string& getNamespace() const { return namespace_.str(); }
    void setNamespace(Schema::SharedText ns) { namespace_ = std::move(ns); }

    void addExtElement(int id) { extElements_.push_back(id); }
    const std::vector<int>& getExtElements() const { return extElements_; }
    void addExtAttribute(int id) { extAttributes_.push_back(id); }
    const std::vector<int>& getExtAttributes() const { return extAttributes_; }

    // The text belongs to the parser's documentation list; null when none.
    const std::string* getDocumentation() const { return documentation_; }
    void setDocumentation(const std::string* text) { documentation_ = text; }

    WsdlParser* getWsdlParser() const { return parser_; }

private:
    std::string name_;
    Schema::SharedText namespace_;
    std::vector<int> extElements_;
    std::vector<int> extAttributes_;
    const std::string* documentation_ = nullptr;
    WsdlParser* parser_;
};

} // namespace Wsdl

#endif
