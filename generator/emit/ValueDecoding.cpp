#include "generator/emit/ValueDecoding.h"

#include "generator/model/StructLayout.h"
#include "generator/emit/TextBuffer.h"

#include <initializer_list>

namespace {

void lines(CTextBuffer& out, std::initializer_list<const char*> text)
{
    for (const char* line : text)
        out.line(line);
}

// The helper a number conversion calls and the wide type it fills.
struct CConversionCall {
    const char* helper;
    const char* wideType;
};

const CConversionCall& conversionCall(CDecodeConversion conversion)
{
    static const CConversionCall calls[] = {{"mydecode_text", ""},
                                            {"mydecode_long", "long long"},
                                            {"mydecode_ulong", "unsigned long long"},
                                            {"mydecode_double", "double"},
                                            {"mydecode_bool", "unsigned long long"}};
    return calls[static_cast<int>(conversion)];
}

void writeConversion(const CStructMember& member, const std::string& access, const std::string& indent, CTextBuffer& o)
{
    if (member.pointer) { // an allocated text, or an item of allocated texts
        o.line(indent, "result = mydecode_textdup(&", access, ", key);");
        return;
    }
    if (member.kind == CStructMember::Text || member.kind == CStructMember::TextArray) {
        o.line(indent, "result = mydecode_text(", access, ", sizeof(", access, "), key);");
        return;
    }
    const CBuiltinType& type = numberType(member.builtin);
    const CConversionCall& call = conversionCall(type.decode);
    o.line(indent, call.wideType, "\tnumber = 0;");
    o.line(indent, "result = ", call.helper, "(key, &number);");
    o.line(indent, "if(result == 0){");
    o.line(indent, "\t", access, " = (", type.cType, ")number;");
    if (type.rangeChecked && type.decode == CDecodeConversion::Floating) { // finite, but not once narrowed
        o.line(indent, "\tif(number - number == 0 && ", access, " - ", access, " != 0)");
        o.line(indent, "\t\tresult = -1;");
    } else if (type.rangeChecked) { // out of the member's range
        o.line(indent, "\tif((", call.wideType, ")", access, " != number)");
        o.line(indent, "\t\tresult = -1;");
    }
    o.line(indent, "}");
}

} // namespace

void writeDecodeHelpers(const std::set<CDecodeConversion>& used, const std::string& projUpper, CTextBuffer& out)
{
    lines(out, {"//the first value that failed, in the text doc->_private points to: its member and why; -1",
                "static int mydecode_refuse(xmlDocPtr doc, const char *member, const xmlChar *key)", "{",
                "\tchar\t*error = (char *)doc->_private;", "\tsize_t\tlength = key != NULL ? strlen((const char *)key) : 0;",
                "", "\tif(error == NULL || error[0] != '\\0')", "\t\treturn -1;", "\tif(key == NULL)"});
    out.line("\t\tsnprintf(error, ", projUpper, "_MAX_DECODE_ERROR_LEN + 1, \"%s: no value\", member);");
    out.line("\telse");
    out.line("\t\tsnprintf(error, " + projUpper +
             "_MAX_DECODE_ERROR_LEN + 1, \"%s: \\\"%.40s%s\\\" (%lu bytes) does not fit\", member, (const char *)key,");
    lines(out, {"\t\t\tlength > 40 ? \"...\" : \"\", (unsigned long)length);", "\treturn -1;", "}", ""});
    lines(out, {"//copies the text into dest of size bytes; -1 when it does not fit",
                "static int mydecode_text(char *dest, size_t size, const xmlChar *key)", "{",
                "\tsize_t\tlength = strlen((const char *)key);", "", "\tif(length >= size)", "\t\treturn -1;",
                "\tmemcpy(dest, key, length + 1);", "\treturn 0;", "}", ""});
    if (used.count(CDecodeConversion::Text))
        lines(out, {"//replaces the allocated text at *dest by a copy of key, allocated with its length; -1 without memory",
                    "static int mydecode_textdup(char **dest, const xmlChar *key)", "{",
                    "\tsize_t\tlength = strlen((const char *)key);", "\tchar\t*copy = (char *)malloc(length + 1);", "",
                    "\tif(copy == NULL)", "\t\treturn -1;", "\tmemcpy(copy, key, length + 1);", "\tfree(*dest);",
                    "\t*dest = copy;", "\treturn 0;", "}", ""});
    if (used.empty() || (used.size() == 1 && used.count(CDecodeConversion::Text)))
        return;
    lines(out, {"//a conversion took something and left nothing but blanks behind it",
                "static int mydecode_end(const char *text, const char *end)", "{",
                "\tif(end == text || errno != 0)", "\t\treturn -1;",
                "\twhile(*end == ' ' || *end == '\\t' || *end == '\\r' || *end == '\\n')", "\t\tend++;",
                "\treturn *end == '\\0' ? 0 : -1;", "}", ""});
    if (used.count(CDecodeConversion::Signed))
        lines(out, {"static int mydecode_long(const xmlChar *key, long long *value)", "{",
                    "\tconst char\t*text = (const char *)key;", "\tchar\t*end = NULL;", "", "\terrno = 0;",
                    "\t*value = strtoll(text, &end, 10);", "\treturn mydecode_end(text, end);", "}", ""});
    if (used.count(CDecodeConversion::Unsigned) || used.count(CDecodeConversion::Boolean))
        lines(out, {"//no sign: strtoull would turn \"-1\" into the largest value",
                    "static int mydecode_ulong(const xmlChar *key, unsigned long long *value)", "{",
                    "\tconst char\t*text = (const char *)key;", "\tchar\t*end = NULL;", "",
                    "\twhile(*text == ' ' || *text == '\\t' || *text == '\\r' || *text == '\\n')", "\t\ttext++;",
                    "\tif(*text == '-' || *text == '+')", "\t\treturn -1;", "\terrno = 0;",
                    "\t*value = strtoull(text, &end, 10);", "\treturn mydecode_end(text, end);", "}", ""});
    if (used.count(CDecodeConversion::Floating))
        lines(out, {"//digits, signs, points and exponents, or XML Schema's INF, -INF and NaN; strtod alone",
                    "//would also take inf, infinity, nan and hexadecimal numbers",
                    "static int mydecode_double(const xmlChar *key, double *value)", "{",
                    "\tconst char\t*text = (const char *)key;", "\tconst char\t*c;", "\tchar\t*end = NULL;", "",
                    "\twhile(*text == ' ' || *text == '\\t' || *text == '\\r' || *text == '\\n')", "\t\ttext++;", "\terrno = 0;",
                    "\tfor(c = text; *c != '\\0' && strchr(\"0123456789+-.eE \\t\\r\\n\", *c) != NULL; c++)", "\t\t;",
                    "\tif(*c != '\\0' && !(strncmp(text, \"INF\", 3) == 0 && mydecode_end(text, text + 3) == 0) &&",
                    "\t\t!(strncmp(text, \"-INF\", 4) == 0 && mydecode_end(text, text + 4) == 0) &&",
                    "\t\t!(strncmp(text, \"NaN\", 3) == 0 && mydecode_end(text, text + 3) == 0))", "\t\treturn -1;",
                    "\t*value = strtod(text, &end);",
                    "\t//below the smallest normal double strtod says ERANGE, yet gives the nearest value: it stands",
                    "\tif(errno == ERANGE && *value > -1.0 && *value < 1.0)", "\t\terrno = 0;",
                    "\treturn mydecode_end(text, end);", "}", ""});
    if (used.count(CDecodeConversion::Boolean))
        lines(out, {"//\"true\" and \"1\" are true, \"false\" and \"0\" false",
                    "static int mydecode_bool(const xmlChar *key, unsigned long long *value)", "{",
                    "\tconst char\t*text = (const char *)key;", "",
                    "\t//mydecode_end reads errno: what an earlier call left there must not refuse \"true\"",
                    "\terrno = 0;",
                    "\twhile(*text == ' ' || *text == '\\t' || *text == '\\r' || *text == '\\n')", "\t\ttext++;",
                    "\tif(strncmp(text, \"true\", 4) == 0 && mydecode_end(text, text + 4) == 0){", "\t\t*value = 1;",
                    "\t\treturn 0;", "\t}",
                    "\tif(strncmp(text, \"false\", 5) == 0 && mydecode_end(text, text + 5) == 0){", "\t\t*value = 0;",
                    "\t\treturn 0;", "\t}",
                    "\treturn mydecode_ulong(key, value) == 0 && *value <= 1 ? 0 : -1;", "}", ""});
}

void writeKeyConversion(const CStructMember& member, const std::string& access, const std::string& name,
                        const std::string& indent, CTextBuffer& o)
{
    writeConversion(member, access, indent, o);
    o.line(indent, "if(result != 0)");
    o.line(indent, "\tmydecode_refuse(doc, \"", name, "\", key);");
}

bool emptyTextFails(const CStructMember& member)
{
    return member.kind == CStructMember::Number || member.kind == CStructMember::NumberArray;
}
