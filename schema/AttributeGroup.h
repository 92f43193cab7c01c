#ifndef KELVANE_SCHEMA_ATTRIBUTEGROUP_H
#define KELVANE_SCHEMA_ATTRIBUTEGROUP_H

#include "schema/Attribute.h"

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
    // Settles references: the attributes waiting for one take its declaration.
    void matchAttributeRefs(const AttributeResolver& resolve)
    {
        for (Attribute& attribute : attributes_)
            attribute.settleReference(resolve);
    }

private:
    std::vector<Attribute> attributes_;
    std::string name_;
};

} // namespace Schema

#endif
