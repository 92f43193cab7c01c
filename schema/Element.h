#ifndef KELVANE_SCHEMA_ELEMENT_H
#define KELVANE_SCHEMA_ELEMENT_H

#include "schema/QualifiedName.h"
#include "schema/SharedText.h"

#include <memory>
#include <string>

namespace Schema {

class Element;
class IdentityConstraint;

// An element declaration, or a particle of a content model.
class Element {
public:
    Element(std::string name, SharedText typeNamespace, int typeId, int minOccurs, int maxOccurs,
            bool qualified, std::string defaultValue, std::string fixedValue);

    // Settles a reference with its resolved declaration: takes everything
    // but the occurrence bounds, which belong to the particle. Plain copy
    // assignment copies every field, so containers of elements stay sound.
    // The waiting mark of a reference goes too.
    void assignDeclaration(const Element& declaration);

    // A particle written as a reference to a global element not read yet
    // waits for that name until it is settled; a declaration never waits.
    void setForwardRef(const QualifiedName& reference)
    {
        forwardRef_ = std::make_shared<const QualifiedName>(reference);
    }
    bool isForwardRef() const { return forwardRef_ != nullptr; }

    // Scratch occurrence counter of the validator's content-model walk.
    int getCount() const { return count_; }
    void setCount(int count) { count_ = count; }

    const std::string& getName() const { return name_; }
    const std::string& getDefaultValue() const { return valueConstraint().defaultValue; }
    const std::string& getFixedValue() const { return valueConstraint().fixedValue; }
    int getType() const { return typeId_; }
    // A declaration taken into another schema names its type with that schema's id.
    void setType(int typeId) { typeId_ = typeId; }
    // Whether the name stands in a namespace in documents: always for a
    // global declaration and a reference, as form or the schema's
    // elementFormDefault say for a local one.
    bool isQualified() const { return qualified_; }
    // The target namespace of the schema that declares it.
    const std::string& getNamespace() const { return namespace_.str(); }
    const SharedText& getSharedNamespace() const { return namespace_; }
    void setNamespace(SharedText ns) { namespace_ = std::move(ns); }
    int getMin() const { return minOccurs_; }
    int getMax() const { return maxOccurs_; }
    const std::string& getTypeNamespace() const { return typeNamespace_.str(); }
    const SharedText& getSharedTypeNamespace() const { return typeNamespace_; }
    // The local name of the XML Schema built-in type it names (types such
    // as nonNegativeInteger share another's id); null for any other type.
    const char* getBuiltinName() const { return builtinName_; }
    void setBuiltinName(const char* name) { builtinName_ = name; }
    // nillable="true": a document may stand the element with xsi:nil="true".
    bool isNillable() const { return nillable_; }
    void setNillable(bool nillable) { nillable_ = nillable; }
    // Not owned: the schema parser's constraint list owns it.
    IdentityConstraint* getConstraint() const { return constraint_; }
    void setConstraint(IdentityConstraint* constraint) { constraint_ = constraint; }

private:
    // The default or fixed value; shared by copies, and held only by the
    // few declarations that give one.
    struct ValueConstraint {
        std::string defaultValue;
        std::string fixedValue;
    };
    const ValueConstraint& valueConstraint() const;

    int count_ = 0;
    int typeId_;
    int minOccurs_;
    int maxOccurs_;
    bool qualified_;
    bool nillable_ = false;
    std::string name_;
    std::shared_ptr<const ValueConstraint> valueConstraint_;
    SharedText typeNamespace_;
    SharedText namespace_;
    IdentityConstraint* constraint_ = nullptr;
    const char* builtinName_ = nullptr; // static text
    // Shared by copies; most declarations have none, so it takes no room then.
    std::shared_ptr<const QualifiedName> forwardRef_;
};

} // namespace Schema

#endif
