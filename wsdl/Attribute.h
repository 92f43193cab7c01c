#ifndef KELVANE_WSDL_ATTRIBUTE_H
#define KELVANE_WSDL_ATTRIBUTE_H

#include <string>

namespace Schema {

// An attribute declaration (global, local or a settled reference).
class Attribute {
public:
    Attribute(std::string name, int typeId, bool qualified, std::string defaultValue,
              std::string fixedValue, bool useRequired);

    const std::string& getName() const { return name_; }
    const std::string& getDefaultValue() const { return defaultValue_; }
    const std::string& getFixedValue() const { return fixedValue_; }
    int getType() const { return typeId_; }
    bool isQualified() const { return qualified_; }
    bool isRequired() const { return useRequired_; }

private:
    std::string name_;
    std::string defaultValue_;
    std::string fixedValue_;
    int typeId_;
    bool qualified_;
    bool useRequired_;
};

} // namespace Schema

#endif
