#include "generator/emit/TypeEncoders.h"

#include "generator/model/EmitContext.h"
#include "generator/model/NameForms.h"
#include "generator/emit/MemberKinds.h"
#include "generator/emit/TextBuffer.h"

namespace {

class CEncoderWriter : public CMemberEncoder {
public:
    CEncoderWriter(const CEmitContext& context, CTextBuffer& out) : context_(context), out_(out) {}

    const CEmitContext& context() const override { return context_; }
    void line(const std::string& text) override { out_.line(text); }

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
                out_.line("\tmystrcat(buff, " + cStringLiteral(" " + member.xmlName + "=\"") + ");");
                out_.line("\tmytstrcat(buff, value->" + member.cName + ", sizeof(value->" + member.cName + "));");
                out_.line("\tmystrcat(buff, \"\\\"\");");
            }
        }
        out_.line("\tmystrcat(buff, " + cStringLiteral(" xmlns:" + p + "=\"" + xmlEscaped(context_.view().targetNamespace()) + "\">") +
                  ");");
        for (const CStructMember& member : def.members) {
            if (member.origin != CStructMember::Attribute)
                memberKindOf(member).encode(*this, type, member);
        }
        out_.line("\tmystrcat(buff, \"</" + p + ":\");");
        out_.line("\tmystrcat(buff, name);");
        out_.line("\tmystrcat(buff, \">\");");
        out_.emptyLine();
        out_.line("\treturn buff->tail == NULL ? -1 : result;");
        out_.line("}");
        out_.emptyLine();
    }

    // One value: a number through its conversion, a text escaped.
    void value(const CStructMember& member, const std::string& access, const std::string& indent) override
    {
        if (member.kind == CStructMember::Number || member.kind == CStructMember::NumberArray) {
            out_.line(indent + "snprintf(temp, sizeof(temp), \"" + numberType(member.builtin).encodeFormat + "\", " + access + ");");
            out_.line(indent + "mystrcat(buff, temp);");
        } else {
            out_.line(indent + "mytstrcat(buff, " + access + ", sizeof(" + access + "));");
        }
    }

    void element(const std::string& tag, const CStructMember& member, const std::string& access,
                 const std::string& indent) override
    {
        out_.line(indent + "mystrcat(buff, " + cStringLiteral("<" + tag + ">") + ");");
        value(member, access, indent);
        out_.line(indent + "mystrcat(buff, " + cStringLiteral("</" + tag + ">") + ");");
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
