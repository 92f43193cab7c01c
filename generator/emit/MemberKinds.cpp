#include "generator/emit/MemberKinds.h"

#include "generator/model/EmitContext.h"
#include "generator/model/NameForms.h"
#include "generator/model/StructLayout.h"
#include "generator/emit/TextBuffer.h"
#include "generator/model/XmlNamespaces.h"

namespace {

// "\t<type>\t<name><dimensions>;" and, for an array, a pointer to its
// items ("(*<name>)<dimensions>" for texts) and its count; then the flags.
void declaration(const CStructMember& member, std::string_view type, std::string_view dimensions, CTextBuffer& out)
{
    if (!member.isArray()) {
        out.line("\t", type, "\t", member.pointer ? "*" : "", member.cName, dimensions, ";");
    } else {
        // Allocated texts are pointers themselves.
        if (dimensions.empty())
            out.line("\t", type, member.pointer ? "\t**" : "\t*", member.cName, ";");
        else
            out.line("\t", type, "\t(*", member.cName, ")", dimensions, ";");
        out.line("\tint\t", member.countName, ";");
    }
    if (!member.presentName.empty())
        out.line("\tint\t", member.presentName, ";");
    if (!member.nilName.empty())
        out.line("\tint\t", member.isArray() ? "*" : "", member.nilName, ";");
}

std::string textDimension(const CStructMember& member)
{
    return std::string("[").append(member.lengthConstant).append("+1]");
}

std::string access(const CStructMember& member)
{
    return "value->" + member.cName;
}

// The member's element name as documents write it: in its namespace when
// its declaration's form is qualified.
std::string elementTag(const CMemberEncoder& encoder, const CStructMember& member)
{
    return encoder.context().namespaces().qualifiedName(member.ns, member.xmlName);
}

// The loop over an array member's items in an encoder: count of them.
std::string encodeLoop(const CStructMember& member)
{
    return "for(i = 0; " + access(member) + " != NULL && i < value->" + member.countName + "; i++){";
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
    out.line("mystrcat(buff, ", cStringLiteral("<" + tag + " xsi:nil=\"true\"/>"), ");");
    out.close("}else{");
    out.indent();
}

void closeNilItem(CMemberEncoder& encoder, const CStructMember& member)
{
    if (!member.nilName.empty())
        encoder.out().close();
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
    void print(CMemberPrinter&, const CStructMember&, const std::string&, const std::string&, const std::string&,
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
            encoder.element(elementTag(encoder, member), member, access(member));
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
               const std::string& name, const std::string& indent) const override
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
        const std::string type = layout.typeName(member.target->name);
        declaration(member, member.pointer || member.isArray() ? "struct " + type : type, {}, out);
    }
    void encode(CMemberEncoder& encoder, const CViewType&, const CStructMember& member) const override
    {
        if (member.target == nullptr || member.userType == nullptr)
            return;
        const std::string call =
            "encode_" + member.userType->cName + "_t(buff, " + cStringLiteral(elementTag(encoder, member)) + ",";
        CTextBuffer& out = encoder.out();
        if (member.pointer) {
            out.line("if(", access(member), " != NULL)");
            out.indent();
            out.line("result = ", call, " ", access(member), ", encoded);");
            out.outdent();
        } else {
            out.line("result = ", call, "\t&", access(member), ", encoded);");
        }
    }
    void decode(CMemberDecoder& decoder, const CViewType&, const CStructMember& member) const override
    {
        if (member.userType != nullptr)
            decoder.child(member, member.xmlName, [&](const std::string& indent) { decoder.nested(member, access(member), indent); });
    }
    void print(CMemberPrinter& printer, const CStructMember& member, const std::string& access, const std::string&,
               const std::string&, const std::string& indent) const override
    {
        if (member.target == nullptr)
            return;
        if (member.userType == nullptr) {
            // An element of a built-in type: its struct's one value is
            // printed in place, under the element's name.
            const std::vector<CStructMember>& inner = member.target->heldMembers();
            if (inner.size() == 1 && (inner[0].kind == CStructMember::Number || inner[0].kind == CStructMember::Text))
                printer.value(indent, member.xmlName, inner[0], access + "." + inner[0].cName);
        } else if (member.pointer) {
            printer.line(indent + "if(" + access + " != NULL)");
            printer.line(indent + "\t" + printer.printFunction(member.target->name) + "(" + access + ");");
        } else {
            printer.line(indent + printer.printFunction(member.target->name) + "(&" + access + ");");
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
        encoder.out().open(encodeLoop(member));
        openNilItem(encoder, tag, member);
        encoder.element(tag, member, access(member) + "[i]");
        closeNilItem(encoder, member);
        encoder.out().close();
    }
    void decode(CMemberDecoder& decoder, const CViewType& owner, const CStructMember& member) const override
    {
        decoder.child(member, itemNameRead(owner, member), [&](const std::string& indent) {
            const std::string at = decoder.slot(member, indent);
            decoder.text(member, at, indent);
            decoder.line(indent + "value->" + member.countName + "++;");
        });
    }
    void print(CMemberPrinter& printer, const CStructMember& member, const std::string& access,
               const std::string& count, const std::string& name, const std::string& indent) const override
    {
        printer.line(indent + "for(i = 0; i < " + count + "; i++){");
        printer.value(indent + "\t", name, member, access + "[i]");
        printer.line(indent + "}");
    }
};

// A number or numbers: the C type of the built-in type.
template <class Shape>
class CNumbers : public Shape {
public:
    void declare(const CStructLayout&, const CStructMember& member, CTextBuffer& out) const override
    {
        declaration(member, numberType(member.builtin).cType, {}, out);
    }
};

// A text or texts: characters up to the member's length macro.
template <class Shape>
class CTexts : public Shape {
public:
    void declare(const CStructLayout&, const CStructMember& member, CTextBuffer& out) const override
    {
        declaration(member, "char", member.pointer ? std::string() : textDimension(member), out);
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
        out.open(encodeLoop(member));
        openNilItem(encoder, tag, member);
        out.line("if((result = encode_" + member.userType->cName + "_t(buff, " + cStringLiteral(tag) + ", &" +
                 access(member) + "[i], encoded)) != 0)");
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
            decoder.line(indent + "value->" + member.countName + "++;");
        });
    }
    void print(CMemberPrinter& printer, const CStructMember& member, const std::string& access,
               const std::string& count, const std::string&, const std::string& indent) const override
    {
        if (member.target == nullptr)
            return;
        printer.line(indent + "for(i = 0; i < " + count + "; i++){");
        printer.line(indent + "\t" + printer.printFunction(member.target->name) + "(&" + access + "[i]);");
        printer.line(indent + "}");
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
