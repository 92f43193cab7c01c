#ifndef KELVANE_SCHEMA_IDENTITYCONSTRAINT_H
#define KELVANE_SCHEMA_IDENTITYCONSTRAINT_H

#include <string>
#include <vector>

namespace Schema {

// A "key", "keyref" or "unique" constraint of an element declaration.
class IdentityConstraint {
public:
    enum Kind { Key = 1, KeyRef = 2, Unique = 3 };

    explicit IdentityConstraint(int kind) : kind_(kind) {}

    int getKind() const { return kind_; }
    const std::string& getName() const { return name_; }
    void setName(const std::string& name) { name_ = name; }
    const std::string& getSelector() const { return selector_; }
    void setSelector(const std::string& xpath) { selector_ = xpath; }
    void addField(const std::string& xpath) { fields_.push_back(xpath); }
    const std::vector<std::string>& getFields() const { return fields_; }

private:
    int kind_;
    std::string name_;
    std::string selector_;
    std::vector<std::string> fields_;
};

} // namespace Schema

#endif
