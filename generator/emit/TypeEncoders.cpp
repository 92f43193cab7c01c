#include "generator/emit/TypeEncoders.h"

#include "generator/model/EmitContext.h"
#include "generator/model/NameForms.h"
#include "generator/emit/TextBuffer.h"

namespace {

// A C string literal of XML text.
std::string literal(const std::string& xml)
{
    return "\"" + cStringBody(xml) + "\"";
}

class CEncoderWriter {
public:
    CEncoderWriter(const CEmitContext& context, CTextBuffer& out) : context_(context), out_(out) {}

    void write(const CViewType& type, const CStructDef& def)
    {
        const std::string p = context_.proj();
        out_.line("static int encode_" + type.cName + "_t(mycursor_t *buff, char *name, " +
                  context_.typeName(type.cName) + " *value)");
        out_.line("{");
        out_.line("\tint result = 0;");
        if (uses(def, [](const CStructMember& m) { return m.kind == CStructMember::Number || m.kind == CStructMember::NumberArray; }))
            out_.line("\tchar temp[64];");
        if (uses(def, [](const CStructMember& m) { return m.isArray(); }))
            out_.line("\tint i = 0;");
        out_.emptyLine();
        out_.line("\tmystrcat(buff, \"<" + p + ":\");");
        out_.line("\tmystrcat(buff, name);");
        for (const CStructMember& member : def.members) {
            if (member.origin == CStructMember::Attribute) {
                out_.line("\tmystrcat(buff, " + literal(" " + member.xmlName + "=\"") + ");");
                out_.line("\tmytstrcat(buff, value->" + member.cName + ", sizeof(value->" + member.cName + "));");
                out_.line("\tmystrcat(buff, \"\\\"\");");
            }
        }
        out_.line("\tmystrcat(buff, " + literal(" xmlns:" + p + "=\"" + xmlEscaped(context_.view().targetNamespace()) + "\">") +
                  ");");
        for (const CStructMember& member : def.members) {
            if (member.origin != CStructMember::Attribute)
                writeMember(type, member);
        }
        out_.line("\tmystrcat(buff, \"</" + p + ":\");");
        out_.line("\tmystrcat(buff, name);");
        out_.line("\tmystrcat(buff, \">\");");
        out_.emptyLine();
        out_.line("\treturn buff->tail == NULL ? -1 : result;");
        out_.line("}");
        out_.emptyLine();
    }

private:
    template <typename Test>
    static bool uses(const CStructDef& def, Test test)
    {
        for (const CStructMember& member : def.members) {
            if (test(member))
                return true;
        }
        return false;
    }

    // One value: a number through its conversion, a text escaped.
    void value(const CStructMember& member, const std::string& access, const std::string& indent = "\t")
    {
        if (member.kind == CStructMember::Number || member.kind == CStructMember::NumberArray) {
            out_.line(indent + "snprintf(temp, sizeof(temp), \"" + numberType(member.builtin).encodeFormat + "\", " + access + ");");
            out_.line(indent + "mystrcat(buff, temp);");
        } else {
            out_.line(indent + "mytstrcat(buff, " + access + ", sizeof(" + access + "));");
        }
    }

    void element(const std::string& tag, const CStructMember& member, const std::string& access,
                 const std::string& indent = "\t")
    {
        out_.line(indent + "mystrcat(buff, " + literal("<" + tag + ">") + ");");
        value(member, access, indent);
        out_.line(indent + "mystrcat(buff, " + literal("</" + tag + ">") + ");");
    }

    void writeMember(const CViewType& type, const CStructMember& member)
    {
        const std::string access = "value->" + member.cName;
        const std::string bound = "i < value->" + member.countName + " && i < " + context_.projUpper() + "_MAX_ARRAY_NUM";
        switch (member.kind) {
        case CStructMember::Dummy:
            return;
        case CStructMember::Number:
        case CStructMember::Text:
            if (member.origin == CStructMember::Value)
                value(member, access);
            else
                element(member.xmlName, member, access);
            return;
        case CStructMember::Struct:
            if (member.target == nullptr || member.userType == nullptr)
                return;
            if (member.pointer)
                out_.line("\tif(" + access + " != NULL)\r\n\t\tresult = encode_" + member.userType->cName + "_t(buff, " +
                          literal(member.xmlName) + ", " + access + ");");
            else
                out_.line("\tresult = encode_" + member.userType->cName + "_t(buff, " + literal(member.xmlName) + ",\t&" +
                          access + ");");
            return;
        case CStructMember::StructArray:
            if (member.userType == nullptr)
                return;
            out_.line("\tfor(i = 0; " + bound + "; i++){");
            out_.line("\t\tresult = encode_" + member.userType->cName + "_t(buff, " + literal(itemElementName(type, member)) +
                      ", " + (member.pointer ? "" : "&") + access + "[i]);");
            out_.line("\t}");
            return;
        case CStructMember::NumberArray:
        case CStructMember::TextArray:
            out_.line("\tfor(i = 0; " + bound + "; i++){");
            element(itemElementName(type, member), member, access + "[i]", "\t\t");
            out_.line("\t}");
            return;
        }
    }

    const CEmitContext& context_;
    CTextBuffer& out_;
};

} // namespace

void writeTypeEncoders(const CEmitContext& context, CTextBuffer& source)
{
    CEncoderWriter writer(context, source);
    for (const CViewType* type : context.layout().codecTypes())
        writer.write(*type, *context.layout().structOf(type));
}
