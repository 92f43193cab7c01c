#ifndef KELVANE_GENERATOR_EMIT_MEMBERKINDS_H
#define KELVANE_GENERATOR_EMIT_MEMBERKINDS_H

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CEmitContext;
class CStructLayout;
class CTextBuffer;
struct CStructDef;
struct CStructMember;
class CViewType;

// What the type encoders offer a member kind: the encoder's text (its
// blocks indent their lines), and one number or text value as character
// data or as an element of its own (typed: without the xsi:type of the
// encoded use, which its array states for it).
class CMemberEncoder {
public:
    virtual ~CMemberEncoder() = default;
    virtual const CEmitContext& context() const = 0;
    virtual CTextBuffer& out() = 0;
    virtual void value(const CStructMember& member, const std::string& access) = 0;
    virtual void element(const std::string& tag, const CStructMember& member, const std::string& access,
                         bool typed) = 0;
    // Whether the items of member, an array of owner, go without an xsi:type
    // of their own: owner is a SOAP array whose item type says theirs.
    virtual bool typedByArray(const CViewType& owner, const CStructMember& member) const = 0;
};

// What the decoders offer: the member's own text read before the loop over
// the element's children (from an attribute, or the element's text), blocks
// of that loop, and the steps inside them.
class CMemberDecoder {
public:
    virtual ~CMemberDecoder() = default;
    virtual void attributeText(const CStructMember& member, const std::string& access) = 0;
    virtual void ownText(const CStructMember& member, const std::string& access) = 0;
    // A block of the child loop for children named name (any child when
    // name is empty), which hold the member's value (or an item of it);
    // body writes at indent. The block
    // marks an optional member present and reads a nil one's xsi:nil.
    virtual void child(const CStructMember& member, std::string_view name,
                       const std::function<void(const std::string& indent)>& body) = 0;
    virtual void text(const CStructMember& member, const std::string& access, const std::string& indent) = 0;
    // An xsd:any: the elements no other member takes, their markup appended
    // to the member's text as they came.
    virtual void wildcard(const CStructMember& member, const std::string& access) = 0;
    virtual void nested(const CStructMember& member, const std::string& access, const std::string& indent) = 0;
    // The array member's next slot, refused when the array is full.
    virtual std::string slot(const CStructMember& member, const std::string& indent) = 0;
    virtual void line(const std::string& text) = 0;
};

// What the print functions offer: their text, one value printed under a
// name, and the project name that starts each print function's name
// ("<proj>_print_<struct>_t").
class CMemberPrinter {
public:
    virtual ~CMemberPrinter() = default;
    virtual CTextBuffer& out() = 0;
    virtual void value(const std::string& indent, std::string_view name, const CStructMember& member,
                       const std::string& access) = 0;
    virtual const std::string& proj() const = 0;
};

// One kind of struct member: how a member of the kind is declared in its
// struct, encoded into a message, decoded from an element and printed.
// A new kind of member is one class here and one rule of the struct layout.
class CMemberKind {
public:
    virtual ~CMemberKind() = default;
    // The declaration lines, written to out.
    virtual void declare(const CStructLayout& layout, const CStructMember& member, CTextBuffer& out) const = 0;
    // owner: the type whose struct holds the member; its value is "value".
    virtual void encode(CMemberEncoder& encoder, const CViewType& owner, const CStructMember& member) const = 0;
    virtual void decode(CMemberDecoder& decoder, const CViewType& owner, const CStructMember& member) const = 0;
    // access: the member's C access path; name: the name it prints under
    // (the items' name for a wildcard); indent: of its lines.
    virtual void print(CMemberPrinter& printer, const CStructMember& member, const std::string& access,
                       const std::string& count, std::string_view name, const std::string& indent) const = 0;
};

// The one object of the member's kind.
const CMemberKind& memberKindOf(const CStructMember& member);

#endif
