#include "generator/emit/MemberKinds.h"

#include "generator/model/EmitContext.h"
#include "generator/model/NameForms.h"
#include "generator/model/StructLayout.h"
#include "generator/emit/TextBuffer.h"
#include "generator/model/XmlNamespaces.h"

namespace {

// "\t<type>\t<name><dimensions>;" and, for an array, a pointer to its
// items ("(*<name>)<dimensions>" for texts) and its count; then the flags.
// The dimensions are "[<length>+1]", none when length is null; the type
// comes in pieces.
template <class... TypePieces>
void declaration(const CStructMember& member, const CShortText* length, CTextBuffer& out, const TypePieces&... type)
{
    const std::string_view none;
    const std::string_view open = length != nullptr ? "[" : none;
    const std::string_view close = length != nullptr ? "+1]" : none;
    const std::string_view size = length != nullptr ? length->view() : none;
    if (!member.isArray()) {
        out.line("\t", type..., "\t", member.pointer ? "*" : "", member.cName, open, size, close, ";");
    } else {
        // Allocated texts are pointers themselves.
        if (length == nullptr)
            out.line("\t", type..., member.pointer ? "\t**" : "\t*", member.cName, ";");
        else
            out.line("\t", type..., "\t(*", member.cName, ")", open, size, close, ";");
        out.line("\tint\t", member.countName, ";");
    }
    if (!member.presentName.empty())
        out.line("\tint\t", member.presentName, ";");
    if (!member.nilName.empty())
        out.line("\tint\t", member.isArray() ? "*" : "", member.nilName, ";");
    if (!member.typeName.empty()) { // of a repeated element: one per item
        const std::string_view pointer = member.isArray() ? "**" : "*";
        out.line("\tchar\t", pointer, member.typeName, ";");
        out.line("\tchar\t", pointer, member.typeNsName, ";");
    }
}

std::string access(const CStructMember& member)
{
    return "value->" + std::string(member.cName);
}

// The member's element name as documents write it: in its namespace when
// its declaration's form is qualified.
std::string elementTag(const CMemberEncoder& encoder, const CStructMember& member)
{
    return encoder.context().namespaces().qualifiedName(member.ns, member.xmlName);
}

// Opens the loop over an array member's items in an encoder: count of them.
void openEncodeLoop(CTextBuffer& out, const CStructMember& member)
{
    out.open("for(i = 0; value->", member.cName, " != NULL && i < value->", member.countName, "; i++){");
}

// The element name of an array's items: a repeated element's own, in its
// namespace; a SOAP array's or a wildcard's items' name.
std::string itemTag(const CMemberEncoder& encoder, const CViewType& owner, const CStructMember& member)
{
    return member.origin == CStructMember::Element ? elementTag(encoder, member) : itemElementName(owner, member);
}

// The name the decoder takes an array's items by: a SOAP array's items may
// have any name (senders write "item", the type's name or their own), so
// none ("") is asked of them.
std::string itemNameRead(const CViewType& owner, const CStructMember& member)
{
    return owner.soapArray && member.origin == CStructMember::Items ? std::string() : itemElementName(owner, member);
}

// Around an array item in an encoder: an item whose flag says nil stands
// as an empty element that says so.
void openNilItem(CMemberEncoder& encoder, const std::string& tag, const CStructMember& member)
{
    if (member.nilName.empty())
        return;
    CTextBuffer& out = encoder.out();
    out.open("if(value->", member.nilName, " != NULL && value->", member.nilName, "[i]){");
    // Neither '<' nor '/' nor '>' is escaped in a literal: the tag's body serves.
    out.line("mystrcat(buff, \"<", cStringBody(tag), " xsi:nil=\\\"true\\\"/>\");");
    out.close("}else{");
    out.indent();
}

void closeNilItem(CMemberEncoder& encoder, const CStructMember& member)
{
    if (!member.nilName.empty())
        encoder.out().close();
}

// "<indent><deeper><proj>_print_<struct>_t(<lead><access><tail>);": the
// call that prints a struct member.
void printCall(CMemberPrinter& printer, const std::string& indent, const char* deeper, const CStructDef& target,
               const char* lead, const std::string& access, const char* tail)
{
    printer.out().line(indent, deeper, printer.proj(), "_print_", target.name, "_t(", lead, access, tail, ");");
}

// A struct without members holds a placeholder the generated code never reads.
class CPlaceholderMember : public CMemberKind {
public:
    void declare(const CStructLayout&, const CStructMember&, CTextBuffer& out) const override
    {
        out.line("\tint\tdummy;");
    }
    void encode(CMemberEncoder&, const CViewType&, const CStructMember&) const override {}
    void decode(CMemberDecoder&, const CViewType&, const CStructMember&) const override {}
    void print(CMemberPrinter&, const CStructMember&, const std::string&, const std::string&, std::string_view,
               const std::string&) const override
    {
    }
};

// One number or text: an attribute, a child element, or the element's own
// text (simple content, a simple type's value).
class CValueMember : public CMemberKind {
public:
    void encode(CMemberEncoder& encoder, const CViewType&, const CStructMember& member) const override
    {
        if (member.origin == CStructMember::Value)
            encoder.value(member, access(member));
        else
            encoder.element(elementTag(encoder, member), member, access(member), false);
    }
    void decode(CMemberDecoder& decoder, const CViewType&, const CStructMember& member) const override
    {
        if (member.origin == CStructMember::Attribute)
            decoder.attributeText(member, access(member));
        else if (member.origin == CStructMember::Value)
            decoder.ownText(member, access(member));
        else if (member.wildcard)
            decoder.wildcard(member, access(member));
        else
            decoder.child(member, member.xmlName, [&](const std::string& indent) { decoder.text(member, access(member), indent); });
    }
    void print(CMemberPrinter& printer, const CStructMember& member, const std::string& access, const std::string&,
               std::string_view name, const std::string& indent) const override
    {
        printer.value(indent, name, member, access);
    }
};

// A value of a user type held in the member (by pointer where the structs
// would otherwise hold each other), or a global element of a built-in type
// held in its own struct.
class CUserTypeMember : public CMemberKind {
public:
    void declare(const CStructLayout& layout, const CStructMember& member, CTextBuffer& out) const override
    {
        if (member.target == nullptr)
            return;
        const char* lead = member.pointer || member.isArray() ? "struct " : "";
        declaration(member, nullptr, out, lead, layout.proj(), "_", member.target->name, "_t");
    }
    void encode(CMemberEncoder& encoder, const CViewType&, const CStructMember& member) const override
    {
        if (member.target == nullptr || member.userType == nullptr)
            return;
        const std::string_view type = member.userType->cName;
        const std::string tag = cStringLiteral(elementTag(encoder, member));
        CTextBuffer& out = encoder.out();
        if (member.pointer) {
            out.line("if(value->", member.cName, " != NULL)");
            out.indent();
            out.line("result = encode_", type, "_t(buff, ", tag, ", value->", member.cName, ", encoded);");
            out.outdent();
        } else {
            out.line("result = encode_", type, "_t(buff, ", tag, ",\t&value->", member.cName, ", encoded);");
        }
    }
    void decode(CMemberDecoder& decoder, const CViewType&, const CStructMember& member) const override
    {
        if (member.userType != nullptr)
            decoder.child(member, member.xmlName, [&](const std::string& indent) { decoder.nested(member, access(member), indent); });
    }
    void print(CMemberPrinter& printer, const CStructMember& member, const std::string& access, const std::string&,
               std::string_view, const std::string& indent) const override
    {
        if (member.target == nullptr)
            return;
        if (member.userType == nullptr) {
            // An element of a built-in type: its struct's one value is
            // printed in place, under the element's name.
            const std::vector<CStructMember>& inner = member.target->heldMembers();
            if (inner.size() == 1 && (inner[0].kind == CStructMember::Number || inner[0].kind == CStructMember::Text))
                printer.value(indent, member.xmlName, inner[0], access + "." + std::string(inner[0].cName));
        } else if (member.pointer) {
            printer.out().line(indent, "if(", access, " != NULL)");
            printCall(printer, indent, "\t", *member.target, "", access, "");
        } else {
            printCall(printer, indent, "", *member.target, "&", access, "");
        }
    }
};

// Numbers or texts, each an element of the items' name: a wildcard's
// content or a SOAP array of a built-in type.
class CValueArrayMember : public CMemberKind {
public:
    void encode(CMemberEncoder& encoder, const CViewType& owner, const CStructMember& member) const override
    {
        const std::string tag = itemTag(encoder, owner, member);
        openEncodeLoop(encoder.out(), member);
        openNilItem(encoder, tag, member);
        encoder.element(tag, member, access(member) + "[i]", encoder.typedByArray(owner, member));
        closeNilItem(encoder, member);
        encoder.out().close();
    }
    void decode(CMemberDecoder& decoder, const CViewType& owner, const CStructMember& member) const override
    {
        decoder.child(member, itemNameRead(owner, member), [&](const std::string& indent) {
            const std::string at = decoder.slot(member, indent);
            decoder.text(member, at, indent);
            decoder.line(indent + "value->" + std::string(member.countName) + "++;");
        });
    }
    void print(CMemberPrinter& printer, const CStructMember& member, const std::string& access,
               const std::string& count, std::string_view name, const std::string& indent) const override
    {
        printer.out().line(indent, "for(i = 0; i < ", count, "; i++){");
        printer.value(indent + "\t", name, member, access + "[i]");
        printer.out().line(indent, "}");
    }
};

// A number or numbers: the C type of the built-in type.
template <class Shape>
class CNumbers : public Shape {
public:
    void declare(const CStructLayout&, const CStructMember& member, CTextBuffer& out) const override
    {
        declaration(member, nullptr, out, numberType(member.builtin).cType);
    }
};

// A text or texts: characters up to the member's length macro.
template <class Shape>
class CTexts : public Shape {
public:
    void declare(const CStructLayout&, const CStructMember& member, CTextBuffer& out) const override
    {
        declaration(member, member.pointer ? nullptr : &member.lengthConstant, out, "char");
    }
};

// Values of a user type, each an element of the items' name: a wildcard
// of a SOAP array of structs.
class CUserTypeArrayMember : public CUserTypeMember {
public:
    void encode(CMemberEncoder& encoder, const CViewType& owner, const CStructMember& member) const override
    {
        if (member.userType == nullptr)
            return;
        CTextBuffer& out = encoder.out();
        const std::string tag = itemTag(encoder, owner, member);
        openEncodeLoop(out, member);
        openNilItem(encoder, tag, member);
        // An item whose type its array states is told so by a negative use.
        out.line("if((result = encode_", member.userType->cName, "_t(buff, ", cStringLiteral(tag), ", &value->",
                 member.cName, "[i], ", encoder.typedByArray(owner, member) ? "-encoded" : "encoded", ")) != 0)");
        out.line("\tbreak;");
        closeNilItem(encoder, member);
        out.close();
    }
    void decode(CMemberDecoder& decoder, const CViewType& owner, const CStructMember& member) const override
    {
        if (member.userType == nullptr)
            return;
        decoder.child(member, itemNameRead(owner, member), [&](const std::string& indent) {
            decoder.nested(member, decoder.slot(member, indent), indent);
            decoder.line(indent + "value->" + std::string(member.countName) + "++;");
        });
    }
    void print(CMemberPrinter& printer, const CStructMember& member, const std::string& access,
               const std::string& count, std::string_view, const std::string& indent) const override
    {
        if (member.target == nullptr)
            return;
        printer.out().line(indent, "for(i = 0; i < ", count, "; i++){");
        printCall(printer, indent, "\t", *member.target, "&", access, "[i]");
        printer.out().line(indent, "}");
    }
};

} // namespace

const CMemberKind& memberKindOf(const CStructMember& member)
{
    static const CPlaceholderMember placeholder;
    static const CNumbers<CValueMember> number;
    static const CTexts<CValueMember> text;
    static const CUserTypeMember userType;
    static const CNumbers<CValueArrayMember> numberArray;
    static const CTexts<CValueArrayMember> textArray;
    static const CUserTypeArrayMember userTypeArray;
    switch (member.kind) {
    case CStructMember::Number: return number;
    case CStructMember::Text: return text;
    case CStructMember::Struct: return userType;
    case CStructMember::NumberArray: return numberArray;
    case CStructMember::TextArray: return textArray;
    case CStructMember::StructArray: return userTypeArray;
    case CStructMember::Dummy: break;
    }
    return placeholder;
}
