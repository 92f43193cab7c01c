#ifndef KELVANE_WSDL_ATTRIBUTEGROUP_H
#define KELVANE_WSDL_ATTRIBUTEGROUP_H

#include "wsdl/Attribute.h"

#include <string>
#include <utility>
#include <vector>

namespace Schema {

// A named "attributeGroup": its attributes in document order.
class AttributeGroup {
public:
    explicit AttributeGroup(std::string name) : name_(std::move(name)) {}

    const std::string& getName() const { return name_; }
    const std::vector<Attribute>& getAttributes() const { return attributes_; }
    void addAttribute(const Attribute& attribute) { attributes_.push_back(attribute); }
    // Settles a reference: the attributes waiting for it take the declaration.
    void matchAttributeRef(const QualifiedName& reference, const Attribute& declaration)
    {
        for (Attribute& attribute : attributes_)
            attribute.settleReference(reference, declaration);
    }

private:
    std::vector<Attribute> attributes_;
    std::string name_;
};

} // namespace Schema

#endif
