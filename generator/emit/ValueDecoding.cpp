#include "generator/emit/ValueDecoding.h"

#include "generator/model/NameForms.h"
#include "generator/model/StructLayout.h"
#include "generator/emit/TextBuffer.h"
#include "schema/SchemaConstants.h"

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

// The check of the lexical form a text member's built-in type has, as a C
// expression that is 0 when key holds one; empty for a type whose texts are
// all values of it.
std::string lexicalCheck(int builtin)
{
    switch (builtin) {
    case Schema::XSD_INTEGER: return "mycheck_integer((const char *)key, MYCHECK_INTEGER)";
    case Schema::XSD_POSINT: return "mycheck_integer((const char *)key, MYCHECK_POSITIVE)";
    case Schema::XSD_DECIMAL: return "mycheck_decimal((const char *)key)";
    case Schema::XSD_DATE: return "mycheck_moment((const char *)key, MYCHECK_DATE)";
    case Schema::XSD_TIME: return "mycheck_moment((const char *)key, MYCHECK_TIME)";
    case Schema::XSD_DATETIME: return "mycheck_moment((const char *)key, MYCHECK_DATETIME)";
    default: return std::string();
    }
}

// Lines that convert key into the number at access (declared of the C type
// of builtin), result 0 or -1: the whole text one value of the type, in the
// range of the member.
void writeNumberConversion(int builtin, const std::string& access, const std::string& indent, CTextBuffer& o)
{
    const CBuiltinType& type = numberType(builtin);
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

// "is no xsd:<type>": why a text that is no value of the type fails.
std::string notOfType(int builtin)
{
    return std::string("is no xsd:") + xsdTypeName(builtin);
}

void writeRefusal(const std::string& name, const std::string& cause, const std::string& indent, CTextBuffer& o)
{
    o.line(indent, "mydecode_refuse(doc, \"", name, "\", key, \"", cause, "\");");
}

void writeTextConversion(const CStructMember& member, const std::string& access, const std::string& name,
                         const std::string& indent, CTextBuffer& o)
{
    const std::string copy = member.pointer ? "mydecode_textdup(&" + access + ", key)"
                                            : "mydecode_text(" + access + ", sizeof(" + access + "), key)";
    std::string check = lexicalCheck(member.valueBuiltin);
    if (check.empty() && isNumericTypeId(member.valueBuiltin)) {
        // A number held as text (an attribute's): converted aside to be checked.
        o.line(indent, "{");
        o.line(indent, "\t", numberType(member.valueBuiltin).cType, "\tchecked;");
        writeNumberConversion(member.valueBuiltin, "checked", indent + "\t", o);
        o.line(indent, "\t(void)checked;");
        o.line(indent, "}");
        check = "result";
    }
    if (!check.empty()) {
        o.line(indent, "if((result = ", check, ") != 0)");
        writeRefusal(name, notOfType(member.valueBuiltin), indent + "\t", o);
        o.line(indent, "else if((result = ", copy, ") != 0)");
    } else {
        o.line(indent, "if((result = ", copy, ") != 0)");
    }
    writeRefusal(name, member.pointer ? "cannot be held" : "does not fit", indent + "\t", o);
}

} // namespace

void writeDecodeHelpers(const std::set<CDecodeConversion>& used, const std::string& projUpper,
                        const std::vector<std::string_view>& namespaces, CTextBuffer& out)
{
    lines(out, {"//what a note of a value taken as it came ends with: a failure said later takes its place",
                "#define MYDECODE_KEPT\t\" (kept)\"", "",
                "//the first value that failed, in the text doc->_private points to: its member and why (the",
                "//cause alone when key is NULL, no value without one either); -1",
                "static int mydecode_refuse(xmlDocPtr doc, const char *member, const xmlChar *key, const char *cause)", "{",
                "\tchar\t*error = (char *)doc->_private;", "\tsize_t\tlength = key != NULL ? strlen((const char *)key) : 0;",
                "\tsize_t\tsaid = error != NULL ? strlen(error) : 0;", "",
                "\tif(error == NULL || (said > 0 && (said < strlen(MYDECODE_KEPT) || strcmp(error + said - strlen(MYDECODE_KEPT), MYDECODE_KEPT) != 0)))",
                "\t\treturn -1;", "\tif(key == NULL)"});
    out.line("\t\tsnprintf(error, ", projUpper, "_MAX_DECODE_ERROR_LEN + 1, \"%s: %s\", member, cause != NULL ? cause : \"no value\");");
    out.line("\telse");
    out.line("\t\tsnprintf(error, " + projUpper +
             "_MAX_DECODE_ERROR_LEN + 1, \"%s: \\\"%.40s%s\\\" (%lu bytes) %s\", member, (const char *)key,");
    lines(out, {"\t\t\tlength > 40 ? \"...\" : \"\", (unsigned long)length, cause);", "\treturn -1;", "}", ""});
    lines(out, {"//the namespaces of the service's own documents: senders qualify elements with the wrong one of",
                "//them, or leave them unqualified, but never use another"});
    out.line("static const char *const mydecode_namespaces[] = {");
    for (std::string_view ns : namespaces)
        out.line("\t\"", cStringBody(ns), "\",");
    lines(out, {"\tNULL", "};", "",
                "//a name (NULL: none) the same as text; strcmp, as every member of every element is looked up",
                "//so: xmlStrcmp goes a byte at a time",
                "static int mydecode_same(const xmlChar *name, const char *text)", "{",
                "\treturn name != NULL && strcmp((const char *)name, text) == 0;", "}", "",
                "//an element with the local name given, of the namespace ns (\"\": of none) exactly",
                "static int mydecode_named_exactly(xmlNodePtr cur, const char *ns, const char *name)", "{",
                "\tif(!mydecode_same(cur->name, name))", "\t\treturn 0;",
                "\treturn cur->ns == NULL || cur->ns->href == NULL ? ns[0] == '\\0' : mydecode_same(cur->ns->href, ns);",
                "}", "",
                "//an element with the local name given, of the namespace ns, of none, or of another of the",
                "//service's: what no sender of the service means is an element of a namespace foreign to it",
                "static int mydecode_named(xmlNodePtr cur, const char *ns, const char *name)", "{",
                "\tconst char\t*const *own;", "",
                "\tif(mydecode_named_exactly(cur, ns, name))", "\t\treturn 1;",
                "\tif(!mydecode_same(cur->name, name))", "\t\treturn 0;",
                "\tif(cur->ns == NULL || cur->ns->href == NULL)", "\t\treturn 1;",
                "\tfor(own = mydecode_namespaces; *own != NULL; own++){",
                "\t\tif(mydecode_same(cur->ns->href, *own))", "\t\t\treturn 1;", "\t}",
                "\treturn 0;", "}", "",
                "//an element an element before it repeats (its namespace and its local name)",
                "static int mydecode_repeated(xmlNodePtr cur)", "{", "\txmlNodePtr\tbefore;", "",
                "\tfor(before = cur->prev; before != NULL; before = before->prev){",
                "\t\tif(before->type == XML_ELEMENT_NODE && mydecode_named(before, cur->ns != NULL && cur->ns->href != NULL ?",
                "\t\t\t(const char *)cur->ns->href : \"\", (const char *)cur->name))", "\t\t\treturn 1;", "\t}",
                "\treturn 0;", "}", ""});
    lines(out, {"//the text of the element at cur: its one text child's content where it lies (no copy), else the",
                "//text of its children gathered into an allocation (of a binary part it holds, the part's Base64",
                "//text); NULL when it has none; mydecode_key_free frees it",
                "static xmlChar *mydecode_key(xmlDocPtr doc, xmlNodePtr cur)", "{",
                "\txmlNodePtr\ttext = cur->xmlChildrenNode;", "",
                "\tif(text == NULL && mymtom_part_of(cur) != NULL)", "\t\treturn mymtom_text(doc, cur);",
                "\tif(text != NULL && text->next == NULL && text->type == XML_TEXT_NODE && text->content != NULL)",
                "\t\treturn text->content;", "\treturn xmlNodeListGetString(doc, text, 1);", "}", "",
                "//frees what mydecode_key gave for the element at cur, unless it lies in the tree",
                "static void mydecode_key_free(xmlNodePtr cur, xmlChar *key)", "{",
                "\tif(key != NULL && (cur->xmlChildrenNode == NULL || key != cur->xmlChildrenNode->content))",
                "\t\txmlFree(key);", "}", ""});
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
    // The integer readers read their own ends.
    if (used.count(CDecodeConversion::Floating) || used.count(CDecodeConversion::Boolean))
        lines(out, {"//a conversion took something and left nothing but blanks behind it",
                "static int mydecode_end(const char *text, const char *end)", "{",
                "\tif(end == text || errno != 0)", "\t\treturn -1;",
                "\twhile(*end == ' ' || *end == '\\t' || *end == '\\r' || *end == '\\n')", "\t\tend++;",
                "\treturn *end == '\\0' ? 0 : -1;", "}", ""});
    // The integer readers are written out: strtoll, strtoull and errno cost as much as the rest of
    // an item's decoding.
    if (used.count(CDecodeConversion::Signed) || used.count(CDecodeConversion::Unsigned))
        lines(out, {"//the decimal digits at c, at least one, into *magnitude, then blanks and the text's end; -1",
                    "//without a digit, for a value above limit or for anything behind the blanks",
                    "static int mydecode_digits(const xmlChar *c, unsigned long long limit, unsigned long long *magnitude)", "{",
                    "\t//ten times the magnitude and a digit stay within limit while the magnitude is below cut, or is",
                    "\t//cut and the digit at most last",
                    "\tunsigned long long\tcut = limit / 10;", "\tint\tlast = (int)(limit % 10);", "",
                    "\t*magnitude = 0;", "\tif(*c < '0' || *c > '9')", "\t\treturn -1;",
                    "\tfor(; *c >= '0' && *c <= '9'; c++){",
                    "\t\tif(*magnitude >= cut && (*magnitude > cut || *c - '0' > last))", "\t\t\treturn -1;",
                    "\t\t*magnitude = *magnitude * 10 + (unsigned long long)(*c - '0');", "\t}",
                    "\twhile(*c == ' ' || *c == '\\t' || *c == '\\r' || *c == '\\n')", "\t\tc++;",
                    "\treturn *c == '\\0' ? 0 : -1;", "}", ""});
    if (used.count(CDecodeConversion::Signed))
        lines(out, {"//what strtoll reads (its blanks, a sign, decimal digits), then nothing but blanks; -1 without a",
                    "//digit or beyond long long",
                    "static int mydecode_long(const xmlChar *key, long long *value)", "{",
                    "\tconst xmlChar\t*c = key;", "\tunsigned long long\tmagnitude;", "\tint\tnegative = 0;", "",
                    "\twhile(*c == ' ' || (*c >= '\\t' && *c <= '\\r'))", "\t\tc++;",
                    "\tif(*c == '+' || *c == '-')", "\t\tnegative = *c++ == '-';",
                    "\t//long long's largest value, one more for a negative one",
                    "\tif(mydecode_digits(c, (~0ULL >> 1) + (unsigned long long)negative, &magnitude) != 0)", "\t\treturn -1;",
                    "\t*value = negative && magnitude > 0 ? -(long long)(magnitude - 1) - 1 : (long long)magnitude;",
                    "\treturn 0;", "}", ""});
    if (used.count(CDecodeConversion::Unsigned))
        lines(out, {"//blanks, a sign only as XML Schema allows it (\"+\", or \"-\" before zero: strtoull would turn \"-1\"",
                    "//into the largest value), decimal digits up to unsigned long long's largest value, blanks",
                    "static int mydecode_ulong(const xmlChar *key, unsigned long long *value)", "{",
                    "\tconst xmlChar\t*c = key;", "\tint\tnegative = 0;", "",
                    "\twhile(*c == ' ' || *c == '\\t' || *c == '\\r' || *c == '\\n')", "\t\tc++;",
                    "\tif(*c == '+' || *c == '-')", "\t\tnegative = *c++ == '-';",
                    "\tif(mydecode_digits(c, ~0ULL, value) != 0 || (negative && *value != 0))", "\t\treturn -1;",
                    "\treturn 0;", "}", ""});
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
                    "\t*value = mycheck_strtod(text, &end);",
                    "\t//below the smallest normal double strtod says ERANGE, yet gives the nearest value: it stands",
                    "\tif(errno == ERANGE && *value > -1.0 && *value < 1.0)", "\t\terrno = 0;",
                    "\treturn mydecode_end(text, end);", "}", ""});
    if (used.count(CDecodeConversion::Boolean))
        lines(out, {"//\"true\" and \"1\" are true, \"false\" and \"0\" false: nothing else",
                    "static int mydecode_bool(const xmlChar *key, unsigned long long *value)", "{",
                    "\tconst char\t*text = (const char *)key;", "\tsize_t\ti;", "",
                    "\twhile(*text == ' ' || *text == '\\t' || *text == '\\r' || *text == '\\n')", "\t\ttext++;",
                    "\t//mydecode_end reads errno: what an earlier call left there must not refuse \"true\"",
                    "\terrno = 0;", "\tfor(i = 0; i < 4; i++){",
                    "\t\tconst char\t*word = i == 0 ? \"true\" : i == 1 ? \"1\" : i == 2 ? \"false\" : \"0\";", "",
                    "\t\tif(strncmp(text, word, strlen(word)) == 0 && mydecode_end(text, text + strlen(word)) == 0){",
                    "\t\t\t*value = i < 2;", "\t\t\treturn 0;", "\t\t}", "\t}", "\treturn -1;", "}", ""});
}

void writeNoteHelper(const std::string& projUpper, CTextBuffer& out)
{
    lines(out, {"//a value taken as it came though its type does not list it: said in the text doc->_private",
                "//points to unless something is said there already; the call does not fail for it",
                "static void mydecode_note(xmlDocPtr doc, const char *member, const xmlChar *key, const char *cause)", "{",
                "\tchar\t*error = (char *)doc->_private;", "\tsize_t\tlength = strlen((const char *)key);", "",
                "\tif(error == NULL || error[0] != '\\0')", "\t\treturn;"});
    out.line("\tsnprintf(error, " + projUpper +
             "_MAX_DECODE_ERROR_LEN + 1, \"%s: \\\"%.40s%s\\\" %s\" MYDECODE_KEPT, member, (const char *)key,");
    lines(out, {"\t\tlength > 40 ? \"...\" : \"\", cause);", "}", ""});
}

void writeKeyConversion(const CStructMember& member, const std::string& access, const std::string& name,
                        const std::string& indent, CTextBuffer& o)
{
    if (member.pointer || member.kind == CStructMember::Text || member.kind == CStructMember::TextArray) {
        writeTextConversion(member, access, name, indent, o);
        return;
    }
    writeNumberConversion(member.builtin, access, indent, o);
    o.line(indent, "if(result != 0)");
    writeRefusal(name, notOfType(member.builtin), indent + "\t", o);
}

void addUsedConversions(const CStructMember& member, std::set<CDecodeConversion>& used)
{
    const bool text = member.kind == CStructMember::Text || member.kind == CStructMember::TextArray;
    if (member.kind == CStructMember::Number || member.kind == CStructMember::NumberArray)
        used.insert(numberType(member.builtin).decode);
    else if (text && member.pointer)
        used.insert(CDecodeConversion::Text);
    if (text && lexicalCheck(member.valueBuiltin).empty() && isNumericTypeId(member.valueBuiltin))
        used.insert(numberType(member.valueBuiltin).decode);
}

// Made for every element every decoder reads: at its size, without a copy
// of either text on the way.
void appendNamedTest(std::string_view ns, std::string_view name, std::string& test)
{
    static constexpr std::string_view Open = "mydecode_named(cur, \"", Between = "\", \"", Close = "\")";
    test.reserve(test.size() + Open.size() + ns.size() + Between.size() + name.size() + Close.size());
    test.append(Open);
    appendStringBody(ns, test);
    test.append(Between);
    appendStringBody(name, test);
    test.append(Close);
}

std::string namedTest(std::string_view ns, std::string_view name)
{
    std::string test;
    appendNamedTest(ns, name, test);
    return test;
}

bool emptyTextFails(const CStructMember& member)
{
    if (member.kind == CStructMember::Number || member.kind == CStructMember::NumberArray)
        return true;
    // A text of a number or date type: no value of those is empty.
    return !lexicalCheck(member.valueBuiltin).empty() || isNumericTypeId(member.valueBuiltin);
}
