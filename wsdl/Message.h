#ifndef KELVANE_WSDL_MESSAGE_H
#define KELVANE_WSDL_MESSAGE_H

#include "wsdl/Part.h"
#include "wsdl/WsdlElement.h"

#include <string>
#include <vector>

namespace Wsdl {

// A WSDL message: its parts in document order. A message named by an
// operation before its definition exists first without parts.
class Message : public WsdlElement {
public:
    explicit Message(WsdlParser* parser);

    // Kind 1 (Part::ElementRef): reference is the Schema::Element declaration.
    // Any other kind: reference points to a type id, which is copied, and the
    // part is stored as a type part (a null reference gives type id 0),
    // with the built-in type's lasting local name when it names one.
    void addPart(const std::string& name, int refKind, const void* reference, int schemaPosition,
                 const char* builtinName = nullptr);

    int getNumParts() const { return static_cast<int>(parts_.size()); }
    const std::vector<Part>& getParts() const { return parts_; }

    // Part accessors by position. A position outside the parts (as the -1 of
    // a header naming an unknown part) reads as no part: 0, null, 0.
    std::string getPartName(int index) const;
    int getPartType(int index) const;
    const Schema::Element* getPartElement(int index) const;
    int getPartRefKind(int index) const;

    // First part of that name: its position or -1; the part or null.
    int getPartIndex(const std::string& name) const;
    const Part* getPart(const std::string& name) const;

    // Every part lets go of its declaration: the schemas are about to go.
    void forgetDeclarations();

    // Set once the document's message element has been read; a message only
    // named so far is not defined.
    bool isDefined() const { return defined_; }
    void setDefined() { defined_ = true; }

private:
    const Part* partAt(int index) const;

    std::vector<Part> parts_;
    bool defined_ = false;
};

} // namespace Wsdl

#endif
