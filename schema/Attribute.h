#ifndef KELVANE_SCHEMA_ATTRIBUTE_H
#define KELVANE_SCHEMA_ATTRIBUTE_H

#include "schema/QualifiedName.h"

#include <functional>
#include <memory>
#include <string>

namespace Schema {

class Attribute;

// The declaration an attribute reference stands for; null when it has none.
using AttributeResolver = std::function<const Attribute*(const QualifiedName&)>;

// An attribute declaration (global, local or a settled reference).
class Attribute {
public:
    Attribute(std::string name, int typeId, bool qualified, std::string defaultValue,
              std::string fixedValue, bool useRequired);

    const std::string& getName() const { return name_; }
    const std::string& getDefaultValue() const { return defaultValue_; }
    const std::string& getFixedValue() const { return fixedValue_; }
    int getType() const { return typeId_; }
    // A declaration taken into another schema names its type with that schema's id.
    void setType(int typeId) { typeId_ = typeId; }
    // Whether the name stands in a namespace in documents: always for a
    // global declaration and a reference, as form or the schema's
    // attributeFormDefault say for a local one.
    bool isQualified() const { return qualified_; }
    // The target namespace of the schema that declares it.
    const std::string& getNamespace() const { return namespace_; }
    void setNamespace(const std::string& ns) { namespace_ = ns; }
    bool isRequired() const { return useRequired_; }
    // The local name of the XML Schema built-in type it names (types such
    // as nonNegativeInteger share another's id); null for any other type.
    const char* getBuiltinName() const { return builtinName_; }
    void setBuiltinName(const char* name) { builtinName_ = name; }

    // Settles a reference with its declaration: name, type and form come from
    // the declaration; the use, and a default or fixed value the reference
    // gives itself, stay the reference's. The waiting mark goes.
    void assignDeclaration(const Attribute& declaration);

    // A reference to a global attribute not read yet waits for that name
    // until it is settled; copies (into types, from groups) wait with it.
    void setForwardRef(const QualifiedName& reference)
    {
        forwardRef_ = std::make_shared<const QualifiedName>(reference);
    }
    bool isForwardRef() const { return forwardRef_ != nullptr; }
    // Takes the declaration of the reference this waits for, when there is one.
    void settleReference(const AttributeResolver& resolve)
    {
        if (!forwardRef_)
            return;
        if (const Attribute* declaration = resolve(*forwardRef_))
            assignDeclaration(*declaration);
    }

private:
    std::string name_;
    std::string defaultValue_;
    std::string fixedValue_;
    int typeId_;
    bool qualified_;
    bool useRequired_;
    std::string namespace_;
    const char* builtinName_ = nullptr; // static text
    // Shared by copies; most declarations have none, so it takes no room then.
    std::shared_ptr<const QualifiedName> forwardRef_;
};

} // namespace Schema

#endif
