#include "generator/emit/TypeEncoders.h"

#include "generator/model/EmitContext.h"
#include "generator/model/NameForms.h"
#include "generator/model/OperationWalk.h"
#include "generator/emit/EnumerationChecks.h"
#include "generator/emit/Fragments.h"
#include "generator/emit/MemberKinds.h"
#include "generator/emit/TextBuffer.h"
#include "generator/emit/ValueDecoding.h"
#include "schema/SchemaConstants.h"

#include <algorithm>

namespace {

const char* const OwnTypePrefix = "type-ns";

class CEncoderWriter : public CMemberEncoder {
public:
    CEncoderWriter(const CEmitContext& context, CTextBuffer& out)
        : context_(context), out_(out), soap12Encoding_(bindsSoap12Encoding(context.view()))
    {
        findTypedItems();
    }

    const CEmitContext& context() const override { return context_; }
    CTextBuffer& out() override { return out_; }

    // The element's name comes from the caller: its form and namespace are
    // the declaration's, not the type's. encoded adds the xsi:type of the
    // rpc/encoded use (1: SOAP 1.1's encoding, 2: SOAP 1.2's); a SOAP array
    // always says its items' type and number.
    void write(const CViewType& type, const CStructDef& def)
    {
        itemSources_ = arrayMembers(type, def);
        structName_.assign(context_.proj()).append("_").append(def.name).append("_t.");
        const CStructMember* array = itemSources_.empty() ? nullptr : itemSources_.front();
        out_.line("static int encode_", type.cName, "_t(mycursor_t *buff, char *name, ", context_.proj(), "_", type.cName,
                  "_t *value, int encoded)");
        out_.open("{");
        out_.line("int result = 0;");
        if (array != nullptr)
            out_.line("char temp[64];");
        if (uses(def, [](const CStructMember& m) { return m.isArray(); }))
            out_.line("int i = 0;");
        if (itemSources_.size() > 1)
            out_.line("int items = 0;\t//which array member's items go out: its place among them, from 1; 0 none");
        out_.emptyLine();
        // A type without members leaves its value unread, one without types of its own the use.
        out_.line("(void)value;");
        out_.line("(void)encoded;");
        if (const CStructMember* checked = enumeratedValue(type, def)) {
            out_.line("if(mycheck_enumerated(buff, name, value->", checked->cName, ", ", enumerationArguments(type), ") != 0)");
            out_.line("\treturn -1;");
        } else if (const CStructMember* number = enumeratedNumber(type, def)) {
            writeUnlistedNumberRefusal(type, *number);
        }
        out_.line("mystrcat(buff, \"<\");");
        out_.line("mystrcat(buff, name);");
        if (array != nullptr)
            writeArrayType(type, *array);
        else
            writeOwnTypeName(type);
        for (const CStructMember& member : def.members) {
            if (member.origin == CStructMember::Attribute && !member.wildcard)
                writeAttribute(type, member);
        }
        out_.line("mystrcat(buff, \">\");");
        if (type.choice)
            writeChoice(type, def);
        else
            writeMembers(type, def.members);
        out_.line("mystrcat(buff, \"</\");");
        out_.line("mystrcat(buff, name);");
        out_.line("mystrcat(buff, \">\");");
        out_.emptyLine();
        out_.line("return buff->tail == NULL ? -1 : result;");
        out_.close();
        out_.emptyLine();
    }

    // One value: a number through its conversion, a text escaped, the
    // markup of an xsd:any as it is.
    void value(const CStructMember& member, const std::string& access) override
    {
        if (member.kind == CStructMember::Number || member.kind == CStructMember::NumberArray)
            writeNumberAppend(out_, member, "buff", access);
        else
            writeTextAppend(out_, member.wildcard || member.anyContent ? "mymarkupcat" : "mytstrcat", "buff", member, access);
    }

    void element(const std::string& tag, const CStructMember& member, const std::string& access, bool typed) override
    {
        if (member.wildcard) {
            value(member, access);
            return;
        }
        const std::string type = typed ? std::string() : statedType(member);
        // Neither '<', '/' nor '>' is escaped in a literal: the tag's body serves both.
        const std::string body = cStringBody(tag);
        const bool ownType = !member.typeName.empty();
        if ((member.valueBuiltin == 0 || type.empty()) && !ownType) {
            out_.line("mystrcat(buff, \"<", body, ">\");");
        } else {
            out_.line("mystrcat(buff, \"<", body, "\");");
            if (ownType)
                writeOwnType(member, type);
            else
                typeAttribute(type);
            out_.line("mystrcat(buff, \">\");");
        }
        value(member, access);
        out_.line("mystrcat(buff, \"</", body, ">\");");
    }

    // Items that would say the very type their array's arrayType (or
    // itemType) names say nothing: the array said it. An anyType item says
    // what it holds, an item with a type of its own says that.
    bool typedByArray(const CViewType& owner, const CStructMember& member) const override
    {
        if (!owner.soapArray || !member.isArray() || member.anyContent || !member.typeName.empty())
            return false;
        const std::string stated = statedType(member);
        return !stated.empty() && stated == arrayItemType(owner);
    }

private:
    // The xsi:type the encoded use gives a member's value: its type's name.
    std::string statedType(const CStructMember& member) const
    {
        if (member.userType != nullptr)
            return context_.namespaces().typeName(CTypeRef{0, member.userType});
        return context_.namespaces().typeName(CTypeRef{member.valueBuiltin, nullptr});
    }

    // The types some SOAP array holds as items whose type it states: their
    // encoders take such a use as the negative of the encoded one.
    void findTypedItems()
    {
        const CStructLayout& layout = context_.layout();
        for (const CViewType* type : layout.codecTypes()) {
            if (!type->soapArray)
                continue;
            for (const CStructMember& member : layout.structOf(type)->members) {
                if (member.kind == CStructMember::StructArray && member.userType != nullptr &&
                    typedByArray(*type, member))
                    typedItems_.push_back(member.userType);
            }
        }
        std::sort(typedItems_.begin(), typedItems_.end());
    }

    // The element's own xsi:type, which an item whose array states its type
    // (encoded < 0) leaves out.
    void writeOwnTypeName(const CViewType& type)
    {
        const std::string name = context_.namespaces().typeName(CTypeRef{0, &type});
        if (!std::binary_search(typedItems_.begin(), typedItems_.end(), &type)) {
            typeAttribute(name);
            return;
        }
        typeAttribute(name, "if(encoded > 0)");
        out_.line("else\t//an item whose type its array states");
        out_.line("\tencoded = -encoded;");
    }

    void writeMembers(const CViewType& type, const std::vector<CStructMember>& members)
    {
        for (const CStructMember& member : members) {
            if (member.origin == CStructMember::Attribute)
                continue;
            const bool nullRefused = refusedWhenNull(member);
            if (!member.presentName.empty())
                out_.open("if(value->", member.presentName, nullRefused ? " && value->" + std::string(member.cName) + " != NULL" : "", "){");
            if (!member.nilName.empty() && !member.isArray()) {
                // Nil stands as an empty element that says so.
                out_.open("if(value->", member.nilName, "){");
                out_.line("mystrcat(buff, " +
                          cStringLiteral("<" + context_.namespaces().qualifiedName(member.ns, member.xmlName) +
                                         " xsi:nil=\"true\"/>") +
                          ");");
                out_.close("}else{");
                out_.indent();
            }
            if (nullRefused && member.presentName.empty() && !member.optional)
                writeNullRefusal(out_, "buff", "value->" + std::string(member.cName), structName_ + std::string(member.cName));
            writeMember(type, member);
            if (!member.nilName.empty() && !member.isArray())
                out_.close();
            if (!member.presentName.empty())
                out_.close();
        }
    }

    // A SOAP array whose items come from more than one member sends those
    // of the one its count chose.
    void writeMember(const CViewType& type, const CStructMember& member)
    {
        const std::size_t source = itemSource(member);
        if (source == 0) {
            memberKindOf(member).encode(*this, type, member);
            return;
        }
        out_.open("if(items == ", std::to_string(source), "){");
        memberKindOf(member).encode(*this, type, member);
        out_.close();
    }

    // The member's place among the item sources of the array being written,
    // from 1; 0 when the array has one source or none, or member is none.
    std::size_t itemSource(const CStructMember& member) const
    {
        if (itemSources_.size() < 2 || !member.isArray())
            return 0;
        for (std::size_t at = 0; at < itemSources_.size(); ++at) {
            if (itemSources_[at]->countName == member.countName)
                return at + 1;
        }
        return 0;
    }

    // Of a choice only one element may stand: the first branch the caller
    // marked present.
    void writeChoice(const CViewType& type, const CStructDef& def)
    {
        bool first = true;
        for (const CStructMember& member : def.members) {
            if (member.origin == CStructMember::Attribute || member.kind == CStructMember::Dummy)
                continue;
            if (member.presentName.empty()) { // an array's count tells, a wildcard's text
                writeBranch(type, member, first,
                            member.isArray()  ? "value->" + std::string(member.countName) + " > 0"
                            : member.pointer ? "value->" + std::string(member.cName) + " != NULL && value->" + std::string(member.cName) +
                                    "[0] != '\\0'"
                                             : "value->" + std::string(member.cName) + "[0] != '\\0'");
                continue;
            }
            CStructMember branch = member;
            branch.presentName = CShortText();
            writeBranch(type, branch, first, "value->" + std::string(member.presentName));
        }
        if (!first)
            out_.close();
    }

    void writeBranch(const CViewType& type, const CStructMember& member, bool& first, const std::string& test)
    {
        if (first) {
            out_.open("if(", test, "){");
            first = false;
        } else {
            out_.close("}else if(" + test + "){");
            out_.indent();
        }
        writeMembers(type, {member});
    }

    // An anyType element's own xsi:type, where the value has one, stands
    // in place of the one the encoded use writes.
    void writeOwnType(const CStructMember& member, const std::string& type)
    {
        writeOwnTypeAppend(out_, "buff", member, "value->");
        typeAttribute(type, "else if(encoded)");
    }

    void typeAttribute(const std::string& type, const char* test = "if(encoded)")
    {
        if (type.empty())
            return;
        out_.line(test);
        out_.indent();
        out_.line("mystrcat(buff, \" xsi:type=\\\"", cStringBody(type), "\\\"\");");
        out_.outdent();
    }

    // An attribute left empty is not written: its type may not admit "".
    void writeAttribute(const CViewType& type, const CStructMember& member)
    {
        const std::string access = "value->" + std::string(member.cName);
        out_.open("if(", std::string(member.pointer ? access + " != NULL && " : ""), access, "[0] != '\\0'){");
        if (const CViewType* enumerated = attributeEnumeration(type, member)) {
            out_.line("if(mycheck_enumerated(buff, ", cStringLiteral(member.xmlName), ", ", access, ", ",
                      enumerationArguments(*enumerated), ") != 0)");
            out_.line("\treturn -1;");
        }
        out_.line("mystrcat(buff, " +
                  cStringLiteral(" " + context_.namespaces().qualifiedName(member.ns, member.xmlName) + "=\"") + ");");
        writeTextAppend(out_, "myattrcat", "buff", member, access);
        out_.line("mystrcat(buff, \"\\\"\");");
        out_.close();
    }

    // A number its type's enumeration does not list is not sent: the
    // reason names the element and the number as it would have gone.
    void writeUnlistedNumberRefusal(const CViewType& type, const CStructMember& number)
    {
        const char* format = numberType(number.builtin).encodeFormat;
        out_.open("if(!", enumerationTest(type), "(value->", number.cName, ")){");
        out_.line("char unlisted[64];");
        out_.emptyLine();
        if (isFloatingTypeId(number.builtin)) {
            out_.line("return mycheck_unlisted(buff, name, myfloattext(unlisted, sizeof(unlisted), \"", format,
                      "\", value->", number.cName, "));");
        } else {
            out_.line("snprintf(unlisted, sizeof(unlisted), \"", format, "\", value->", number.cName, ");");
            out_.line("return mycheck_unlisted(buff, name, unlisted);");
        }
        out_.close();
    }

    // The members a SOAP array's items may come from: its array members. A
    // type that declares its items both as repeated elements and through
    // its arrayType has two, which the decoder fills alike.
    static std::vector<const CStructMember*> arrayMembers(const CViewType& type, const CStructDef& def)
    {
        std::vector<const CStructMember*> members;
        if (!type.soapArray)
            return members;
        for (const CStructMember& member : def.members) {
            if (member.isArray())
                members.push_back(&member);
        }
        return members;
    }

    // SOAP-ENC:arrayType="<item type>[<count>]", and the array's xsi:type:
    // its own type, which the accessor's declaration admits.
    void writeArrayType(const CViewType& type, const CStructMember& array)
    {
        const std::string itemType = arrayItemType(type);
        writeOwnTypeName(type);
        if (itemSources_.size() > 1) {
            writeItemsChoice();
        } else {
            const std::string count = "value->" + std::string(array.countName);
            out_.line("snprintf(temp, sizeof(temp), \"%d\", value->" + std::string(array.cName) + " == NULL || " + count +
                      " < 0 ? 0 : " + count + ");");
        }
        if (soap12Encoding_)
            writeArraySize12(itemType);
        out_.line("mystrcat(buff, ", cStringLiteral(" SOAP-ENC:arrayType=\"" + itemType + "["), ");");
        out_.line("mystrcat(buff, temp);");
        out_.line("mystrcat(buff, \"]\\\"\");");
        if (soap12Encoding_)
            out_.close();
    }

    // Of several item sources, the first that holds items goes out alone,
    // under its own count: sending each would put more items than the
    // count the array declares.
    void writeItemsChoice()
    {
        std::string count;
        for (std::size_t at = 0; at < itemSources_.size(); ++at) {
            const CStructMember& source = *itemSources_[at];
            const std::string place = std::to_string(at + 1);
            out_.line(at == 0 ? "if(" : "else if(", "value->", source.cName, " != NULL && value->", source.countName,
                      " > 0)");
            out_.line("\titems = ", place, ";");
            count += "items == " + place + " ? value->" + std::string(source.countName) + " : ";
        }
        out_.line("snprintf(temp, sizeof(temp), \"%d\", ", count, "0);");
    }

    // The type a SOAP array's arrayType names for its items.
    std::string arrayItemType(const CViewType& type) const
    {
        CTypeRef item;
        for (const CViewParticle& particle : type.particles) {
            if (particle.isWildcard() || particle.type.isUser()) {
                item = particle.type;
                break;
            }
        }
        std::string itemType = context_.namespaces().typeName(item);
        return itemType.empty() ? "xsd:anyType" : itemType;
    }

    // SOAP 1.2's encoding says an array's item type and size apart, and
    // knows no arrayType: the branch before SOAP 1.1's, which it leaves open.
    void writeArraySize12(const std::string& itemType)
    {
        const std::string prefix = std::string(" ") + CXmlNamespaces::Encoding12Prefix + ":";
        out_.open("if(encoded == 2){");
        out_.line("mystrcat(buff, ", cStringLiteral(prefix + "itemType=\"" + itemType + "\"" + prefix + "arraySize=\""), ");");
        out_.line("mystrcat(buff, temp);");
        out_.line("mystrcat(buff, \"\\\"\");");
        out_.close("}else{");
        out_.indent();
    }

    template <typename Test>
    static bool uses(const CStructDef& def, Test test)
    {
        for (const CStructMember& member : def.members) {
            if (test(member))
                return true;
        }
        return false;
    }

    const CEmitContext& context_;
    CTextBuffer& out_;
    const bool soap12Encoding_; // a SOAP 1.2 operation's message is encoded
    std::vector<const CViewType*> typedItems_; // sorted
    std::vector<const CStructMember*> itemSources_; // of the type being written
    std::string structName_; // "<proj>_<X>_t." of the struct being written, before a member's name
};

bool holdsNumbers(const std::vector<CStructMember>& members)
{
    for (const CStructMember& member : members) {
        if (member.kind == CStructMember::Number || member.kind == CStructMember::NumberArray)
            return true;
    }
    return false;
}

// Writes an anyType element's own xsi:type. A type in a namespace goes
// under a prefix of its own, declared beside it: no prefix the generated
// code gives a namespace has a hyphen, so the element's own name and its
// attributes keep theirs.
void writeOwnTypeWriter(const CEmitContext& context, CTextBuffer& out)
{
    // A global element's value is written only where a message sends it.
    if (context.layout().keepsOtherOwnTypes())
        out.line("static void mytypecat(mycursor_t *buff, const char *type, const char *ns) ", context.projUpper(),
                 "_MAYBE_UNUSED;");
    out.line("//an element's own xsi:type as written (type), or, in the namespace ns, its local name under a prefix");
    out.line("//declared beside it");
    out.line("static void mytypecat(mycursor_t *buff, const char *type, const char *ns)");
    out.open("{");
    out.line("const char\t*colon = strchr(type, ':');");
    out.emptyLine();
    out.line("if(ns == NULL || ns[0] == '\\0'){");
    out.line("\tmystrcat(buff, \" xsi:type=\\\"\");");
    out.line("\tmyattrcat(buff, type, (size_t)-1);");
    out.line("}else{");
    out.line("\tmystrcat(buff, \" xmlns:", OwnTypePrefix, "=\\\"\");");
    out.line("\tmyattrcat(buff, ns, (size_t)-1);");
    out.line("\tmystrcat(buff, \"\\\" xsi:type=\\\"", OwnTypePrefix, ":\");");
    out.line("\tmyattrcat(buff, colon != NULL ? colon + 1 : type, (size_t)-1);");
    out.line("}");
    out.line("mystrcat(buff, \"\\\"\");");
    out.close();
    out.emptyLine();
}

bool usesNumbers(const CStructLayout& layout)
{
    for (const CStructDef* def : layout.typeStructs()) {
        if (holdsNumbers(def->members))
            return true;
    }
    for (const CStructDef* def : layout.messageStructs()) {
        if (holdsNumbers(def->members))
            return true;
    }
    return holdsNumbers(layout.headerMembers());
}

} // namespace

void writeOwnTypeAppend(CTextBuffer& out, const char* cursor, const CStructMember& member, const std::string& owner)
{
    const std::string type = owner + std::string(member.typeName);
    const std::string ns = owner + std::string(member.typeNsName);
    if (!member.isArray()) {
        out.line("if(", type, " != NULL && ", type, "[0] != '\\0')");
        out.line("\tmytypecat(", cursor, ", ", type, ", ", ns, ");");
        return;
    }
    // The caller's items may come without types, or without their namespaces.
    out.line("if(", type, " != NULL && ", type, "[i] != NULL && ", type, "[i][0] != '\\0')");
    out.line("\tmytypecat(", cursor, ", ", type, "[i], ", ns, " != NULL ? ", ns, "[i] : NULL);");
}

void writeTextAppend(CTextBuffer& out, const char* appender, const char* cursor, const CStructMember& member,
                     const std::string& access)
{
    // An element's binary value may go as a part of a XOP package.
    if (std::string_view(appender) == "mytstrcat" && member.valueBuiltin == Schema::XSD_BASE64BIN &&
        member.origin != CStructMember::Attribute)
        appender = "mymtomcat";
    if (member.pointer)
        out.line(appender, "(", cursor, ", (", access, " != NULL ? ", access, " : \"\"), (size_t)-1);");
    else
        out.line(appender, "(", cursor, ", ", access, ", sizeof(", access, "));");
}

bool refusedWhenNull(const CStructMember& member)
{
    if (!member.pointer || member.isArray() || member.origin == CStructMember::Attribute || member.wildcard || member.anyContent)
        return false;
    if (member.kind == CStructMember::Struct)
        return member.userType != nullptr;
    return member.kind == CStructMember::Text && emptyTextFails(member);
}

void writeNullRefusal(CTextBuffer& out, const char* cursor, const std::string& access, const std::string& name)
{
    out.line("if(", access, " == NULL)");
    out.line("	mycheck_null(", cursor, ", ", cStringLiteral(name), ");");
}

void writeNumberAppend(CTextBuffer& out, const CStructMember& member, const char* cursor, const std::string& access)
{
    const char* format = numberType(member.builtin).encodeFormat;
    if (isFloatingTypeId(member.builtin)) {
        out.line("myfloatcat(", cursor, ", \"", format, "\", ", access, ");");
    } else {
        out.line(numberType(member.builtin).decode == CDecodeConversion::Signed ? "mysignedcat(" : "myunsignedcat(", cursor, ", ", access, ");");
    }
}

void writeTypeEncoders(const CEmitContext& context, CTextBuffer& source)
{
    if (usesNumbers(context.layout())) {
        writeFragment(context, CFragment::NumberWriters, source);
        source.emptyLine();
    }
    writeFragment(context, CFragment::ValueChecks, source);
    source.emptyLine();
    writeEnumerationLists(context.layout(), source);
    if (context.layout().keepsOwnTypes())
        writeOwnTypeWriter(context, source);
    CEncoderWriter writer(context, source);
    for (const CViewType* type : context.layout().codecTypes())
        writer.write(*type, *context.layout().structOf(type));
}
