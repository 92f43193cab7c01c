#ifndef KELVANE_WSDL_PART_H
#define KELVANE_WSDL_PART_H

#include <string>

namespace Schema {
class Element;
}

namespace Wsdl {

// One part of a message: a reference either to a global element declaration
// or to a schema type. The element pointer and the type id are kept in
// separate fields, so a pointer is never squeezed into an integer word.
class Part {
public:
    enum RefKind { None = 0, ElementRef = 1, TypeRef = 2 };

    // An element part refers to the declaration found in the schema parser at
    // schemaPosition.
    static Part elementPart(const std::string& name, const Schema::Element* element, int schemaPosition);
    // builtinName: the lasting local name of the built-in type a type part
    // names (nonNegativeInteger has no id of its own); null otherwise.
    static Part typePart(const std::string& name, int typeId, int schemaPosition, const char* builtinName = nullptr);

    const std::string& getName() const { return name_; }
    int getRefKind() const { return refKind_; }
    int getSchemaPosition() const { return schemaPosition_; }

    // The declaration of an element part; null for a type part.
    const Schema::Element* getElement() const;
    // The type id of a type part, or of an element part's declaration; 0
    // when an element part has no declaration.
    int getType() const;
    // The built-in type's local name a type part names; null for an element
    // part and for a user type.
    const char* getBuiltinName() const { return builtinName_; }

    // The declaration and its schema go: an element part reads as one
    // without a declaration, and no part names a schema position.
    void forgetDeclaration();

private:
    Part(const std::string& name, int refKind, const Schema::Element* element, int typeId, int schemaPosition,
         const char* builtinName);

    std::string name_;
    int refKind_;
    const Schema::Element* element_;
    int typeId_;
    int schemaPosition_;
    const char* builtinName_; // static text
};

} // namespace Wsdl

#endif
