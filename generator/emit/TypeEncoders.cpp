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
    CTextBuffer& out() override { return out_; }

    void write(const CViewType& type, const CStructDef& def)
    {
        const std::string p = context_.proj();
        out_.line("static int encode_" + type.cName + "_t(mycursor_t *buff, char *name, " +
                  context_.typeName(type.cName) + " *value)");
        out_.open("{");
        out_.line("int result = 0;");
        if (uses(def, [](const CStructMember& m) { return m.kind == CStructMember::Number || m.kind == CStructMember::NumberArray; }))
            out_.line("char temp[64];");
        if (uses(def, [](const CStructMember& m) { return m.isArray(); }))
            out_.line("int i = 0;");
        out_.emptyLine();
        out_.line("mystrcat(buff, \"<" + p + ":\");");
        out_.line("mystrcat(buff, name);");
        for (const CStructMember& member : def.members) {
            if (member.origin == CStructMember::Attribute) {
                out_.line("mystrcat(buff, " + cStringLiteral(" " + member.xmlName + "=\"") + ");");
                out_.line("mytstrcat(buff, value->" + member.cName + ", sizeof(value->" + member.cName + "));");
                out_.line("mystrcat(buff, \"\\\"\");");
            }
        }
        out_.line("mystrcat(buff, " + cStringLiteral(" xmlns:" + p + "=\"" + xmlEscaped(context_.view().targetNamespace()) + "\">") +
                  ");");
        for (const CStructMember& member : def.members) {
            if (member.origin != CStructMember::Attribute)
                memberKindOf(member).encode(*this, type, member);
        }
        out_.line("mystrcat(buff, \"</" + p + ":\");");
        out_.line("mystrcat(buff, name);");
        out_.line("mystrcat(buff, \">\");");
        out_.emptyLine();
        out_.line("return buff->tail == NULL ? -1 : result;");
        out_.close();
        out_.emptyLine();
    }

    // One value: a number through its conversion, a text escaped.
    void value(const CStructMember& member, const std::string& access) override
    {
        if (member.kind == CStructMember::Number || member.kind == CStructMember::NumberArray) {
            out_.line(std::string("snprintf(temp, sizeof(temp), \"") + numberType(member.builtin).encodeFormat + "\", " +
                      access + ");");
            out_.line("mystrcat(buff, temp);");
        } else {
            out_.line("mytstrcat(buff, " + access + ", sizeof(" + access + "));");
        }
    }

    void element(const std::string& tag, const CStructMember& member, const std::string& access) override
    {
        out_.line("mystrcat(buff, " + cStringLiteral("<" + tag + ">") + ");");
        value(member, access);
        out_.line("mystrcat(buff, " + cStringLiteral("</" + tag + ">") + ");");
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
