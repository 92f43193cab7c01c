#include "generator/emit/ResponseDecoders.h"

#include "generator/model/EmitContext.h"
#include "generator/model/NameForms.h"
#include "generator/emit/PacketDecoder.h"
#include "generator/model/StructLayout.h"
#include "generator/emit/TextBuffer.h"

#include <set>

namespace {

// How the text of a number member becomes its C value.
enum class Conversion { Signed, Unsigned, Floating, Boolean };

Conversion conversionOf(int builtin)
{
    switch (builtin) {
    case 15:
        return Conversion::Boolean;
    case 12:
    case 13:
    case 14:
        return Conversion::Floating;
    case 5:
    case 6:
    case 7:
    case 9:
    case 11:
        return Conversion::Unsigned;
    default:
        return Conversion::Signed;
    }
}

void lines(CTextBuffer& out, std::initializer_list<const char*> text)
{
    for (const char* line : text)
        out.line(line);
}

// The helpers the decoders call; each is written only when some decoder
// calls it, so that the file stays free of unused static functions.
void writeHelpers(const std::set<Conversion>& used, CTextBuffer& out)
{
    lines(out, {"//copies the text into dest of size bytes; -1 when it does not fit",
                "static int mydecode_text(char *dest, size_t size, const xmlChar *key)", "{",
                "\tsize_t\tlength = strlen((const char *)key);", "", "\tif(length >= size)", "\t\treturn -1;",
                "\tmemcpy(dest, key, length + 1);", "\treturn 0;", "}", ""});
    if (used.empty())
        return;
    lines(out, {"//a conversion took something and left nothing but blanks behind it",
                "static int mydecode_end(const char *text, const char *end)", "{",
                "\tif(end == text || errno != 0)", "\t\treturn -1;",
                "\twhile(*end == ' ' || *end == '\\t' || *end == '\\r' || *end == '\\n')", "\t\tend++;",
                "\treturn *end == '\\0' ? 0 : -1;", "}", ""});
    if (used.count(Conversion::Signed))
        lines(out, {"static int mydecode_long(const xmlChar *key, long *value)", "{",
                    "\tconst char\t*text = (const char *)key;", "\tchar\t*end = NULL;", "", "\terrno = 0;",
                    "\t*value = strtol(text, &end, 10);", "\treturn mydecode_end(text, end);", "}", ""});
    if (used.count(Conversion::Unsigned) || used.count(Conversion::Boolean))
        lines(out, {"//no sign: strtoul would turn \"-1\" into the largest value",
                    "static int mydecode_ulong(const xmlChar *key, unsigned long *value)", "{",
                    "\tconst char\t*text = (const char *)key;", "\tchar\t*end = NULL;", "",
                    "\twhile(*text == ' ' || *text == '\\t' || *text == '\\r' || *text == '\\n')", "\t\ttext++;",
                    "\tif(*text == '-' || *text == '+')", "\t\treturn -1;", "\terrno = 0;",
                    "\t*value = strtoul(text, &end, 10);", "\treturn mydecode_end(text, end);", "}", ""});
    if (used.count(Conversion::Floating))
        lines(out, {"static int mydecode_double(const xmlChar *key, double *value)", "{",
                    "\tconst char\t*text = (const char *)key;", "\tchar\t*end = NULL;", "", "\terrno = 0;",
                    "\t*value = strtod(text, &end);", "\treturn mydecode_end(text, end);", "}", ""});
    if (used.count(Conversion::Boolean))
        lines(out, {"//\"true\" and \"1\" are true, \"false\" and \"0\" false",
                    "static int mydecode_bool(const xmlChar *key, unsigned long *value)", "{",
                    "\tconst char\t*text = (const char *)key;", "",
                    "\twhile(*text == ' ' || *text == '\\t' || *text == '\\r' || *text == '\\n')", "\t\ttext++;",
                    "\tif(strncmp(text, \"true\", 4) == 0 && mydecode_end(text, text + 4) == 0){", "\t\t*value = 1;",
                    "\t\treturn 0;", "\t}",
                    "\tif(strncmp(text, \"false\", 5) == 0 && mydecode_end(text, text + 5) == 0){", "\t\t*value = 0;",
                    "\t\treturn 0;", "\t}",
                    "\treturn mydecode_ulong(key, value) == 0 && *value <= 1 ? 0 : -1;", "}", ""});
}

} // namespace

void writeKeyConversion(const CStructMember& member, const std::string& access, const std::string& indent,
                        CTextBuffer& o)
{
    if (member.kind == CStructMember::Text || member.kind == CStructMember::TextArray) {
        o.line(indent + "result = mydecode_text(" + access + ", sizeof(" + access + "), key);");
        return;
    }
    const Conversion conversion = conversionOf(member.builtin);
    const std::string ctype = cTypeOfBuiltin(member.builtin);
    static const char* const wide[] = {"long", "unsigned long", "double", "unsigned long"};
    static const char* const call[] = {"mydecode_long", "mydecode_ulong", "mydecode_double", "mydecode_bool"};
    const int index = static_cast<int>(conversion);
    o.line(indent + wide[index] + "\tnumber = 0;");
    o.line(indent + "result = " + call[index] + "(key, &number);");
    o.line(indent + "if(result == 0){");
    o.line(indent + "\t" + access + " = (" + ctype + ")number;");
    if (conversion != Conversion::Floating) // out of the member's range
        o.line(indent + "\tif((" + wide[index] + ")" + access + " != number)\r\n" + indent + "\t\tresult = -1;");
    o.line(indent + "}");
}

namespace {

class CDecoderWriter {
public:
    explicit CDecoderWriter(const CEmitContext& context) : context_(context) {}

    void writeFault()
    {
        begin("soap_fault_msg_t", context_.proj() + "_soap_fault_msg_t *value");
        for (const char* name : {"faultcode", "faultstring", "detail"}) {
            CStructMember member;
            member.kind = CStructMember::Text;
            member.cName = name;
            child(name, [&](const std::string& indent) { text(member, "value->" + member.cName, "cur", indent); });
        }
        end();
    }

    void writeType(const CViewType& type, const CStructDef& def)
    {
        begin(type.cName + "_t", context_.typeName(type.cName) + " *value");
        for (const CStructMember& member : def.members)
            writeMember(type, member);
        end();
    }

    void useConversion(int builtin) { conversions_.insert(conversionOf(builtin)); }

    // The decoders' text, after the helpers it calls.
    void flush(CTextBuffer& out) const
    {
        writeHelpers(conversions_, out);
        out.append(text_.text());
    }

private:
    void begin(const std::string& suffix, const std::string& parameter)
    {
        head_.clear();
        loop_.clear();
        usesGoto_ = false;
        head_.line("static int decode_" + suffix + "(xmlDocPtr doc, xmlNodePtr cur, " + parameter + ")");
        head_.line("{");
        head_.line("\tint result = 0;");
        head_.emptyLine();
    }

    void end()
    {
        text_.append(head_.text());
        text_.line("\tfor(cur = cur->xmlChildrenNode; cur != NULL; cur = cur->next){");
        text_.line("\t\tif(cur->type != XML_ELEMENT_NODE)");
        text_.line("\t\t\tcontinue;");
        text_.append(loop_.text());
        text_.line("\t}");
        text_.emptyLine();
        if (usesGoto_)
            text_.line("over:");
        text_.line("\treturn result;");
        text_.line("}");
        text_.emptyLine();
    }

    std::string fail()
    {
        usesGoto_ = true;
        return "goto over;";
    }

    // A block of the child loop for children named name.
    template <typename Body>
    void child(const std::string& name, Body body)
    {
        loop_.line("\t\tif(!xmlStrcmp(cur->name, (const xmlChar *)\"" + cStringBody(name) + "\")){");
        body("\t\t\t");
        loop_.line("\t\t}");
    }

    // Reads the text of node into the member at access: key is freed
    // before any early exit.
    void text(const CStructMember& member, const std::string& access, const std::string& node,
              const std::string& indent, const std::string& fetch = std::string())
    {
        const std::string get = fetch.empty() ? "xmlNodeListGetString(doc, " + node + "->xmlChildrenNode, 1)" : fetch;
        CTextBuffer& o = out_();
        o.line(indent + "{");
        o.line(indent + "\txmlChar\t*key = " + get + ";");
        o.line(indent + "\tif(key != NULL){");
        convert(member, access, indent + "\t\t");
        o.line(indent + "\t\txmlFree(key);");
        o.line(indent + "\t\tif(result != 0)");
        o.line(indent + "\t\t\t" + fail());
        o.line(indent + "\t}");
        o.line(indent + "}");
    }

    void convert(const CStructMember& member, const std::string& access, const std::string& indent)
    {
        if (member.kind != CStructMember::Text && member.kind != CStructMember::TextArray)
            conversions_.insert(conversionOf(member.builtin));
        writeKeyConversion(member, access, indent, out_());
    }

    // A member's next array slot, refused when the array is full.
    std::string slot(const CStructMember& member, const std::string& indent)
    {
        const std::string count = "value->" + member.countName;
        loop_.line(indent + "if(" + count + " < 0 || " + count + " >= " + context_.projUpper() + "_MAX_ARRAY_NUM){");
        loop_.line(indent + "\tresult = -1;");
        loop_.line(indent + "\t" + fail());
        loop_.line(indent + "}");
        return "value->" + member.cName + "[" + count + "]";
    }

    void nested(const CStructMember& member, const std::string& access, const std::string& indent)
    {
        const std::string call = "decode_" + member.userType->cName + "_t(doc, cur, " + (member.pointer ? "" : "&") +
            access + ")";
        if (member.pointer) // the caller provides the struct it points to
            loop_.line(indent + "if((result = " + access + " == NULL ? -1 : " + call + ") != 0)");
        else
            loop_.line(indent + "if((result = " + call + ") != 0)");
        loop_.line(indent + "\t" + fail());
    }

    void writeMember(const CViewType& type, const CStructMember& member)
    {
        const std::string access = "value->" + member.cName;
        switch (member.kind) {
        case CStructMember::Dummy:
            return;
        case CStructMember::Number:
        case CStructMember::Text:
            if (member.origin == CStructMember::Attribute) {
                inHead_ = true;
                text(member, access, "cur", "\t", "xmlGetProp(cur, (const xmlChar *)\"" + cStringBody(member.xmlName) + "\")");
                inHead_ = false;
            } else if (member.origin == CStructMember::Value) {
                inHead_ = true;
                text(member, access, "cur", "\t");
                inHead_ = false;
            } else {
                child(member.xmlName, [&](const std::string& indent) { text(member, access, "cur", indent); });
            }
            return;
        case CStructMember::Struct:
            if (member.userType != nullptr)
                child(member.xmlName, [&](const std::string& indent) { nested(member, access, indent); });
            return;
        case CStructMember::StructArray:
            if (member.userType == nullptr)
                return;
            child(itemElementName(type, member), [&](const std::string& indent) {
                nested(member, slot(member, indent), indent);
                loop_.line(indent + "value->" + member.countName + "++;");
            });
            return;
        case CStructMember::NumberArray:
        case CStructMember::TextArray:
            child(itemElementName(type, member), [&](const std::string& indent) {
                const std::string at = slot(member, indent);
                text(member, at, "cur", indent);
                loop_.line(indent + "value->" + member.countName + "++;");
            });
            return;
        }
    }

    CTextBuffer& out_() { return inHead_ ? head_ : loop_; }

    const CEmitContext& context_;
    CTextBuffer text_;
    CTextBuffer head_;
    CTextBuffer loop_;
    bool usesGoto_ = false;
    bool inHead_ = false;
    std::set<Conversion> conversions_;
};

} // namespace

void writeResponseDecoders(const CEmitContext& context, CTextBuffer& source)
{
    CDecoderWriter writer(context);
    for (int builtin : packetDecoderNumberTypes(context))
        writer.useConversion(builtin);
    writer.writeFault();
    for (const CViewType* type : context.layout().codecTypes())
        writer.writeType(*type, *context.layout().structOf(type));
    writer.flush(source);
    source.emptyLine();
}
