#include "generator/emit/EnumerationChecks.h"

#include "generator/emit/TextBuffer.h"
#include "generator/model/NameForms.h"
#include "generator/model/StructLayout.h"
#include "generator/model/ValueFacets.h"
#include "schema/SchemaConstants.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unordered_set>

namespace {

const CStructMember* valueMember(const CViewType& type, const CStructDef& def, CStructMember::Kind kind)
{
    if (!type.simple || type.allowedValues() == nullptr)
        return nullptr;
    for (const CStructMember& member : def.members) {
        if (member.origin == CStructMember::Value)
            return member.kind == kind ? &member : nullptr;
    }
    return nullptr;
}

// The whole text is one number (blanks around it aside); strto* leave end behind it.
bool wholeNumber(const std::string& text, const char* end)
{
    if (end == text.c_str() || errno != 0)
        return false;
    while (*end == ' ' || *end == '\t' || *end == '\r' || *end == '\n')
        ++end;
    return *end == '\0';
}

std::string integerLiteral(const std::string& value, bool isUnsigned)
{
    char* end = nullptr;
    errno = 0;
    if (isUnsigned) {
        if (value.find('-') != std::string::npos && std::strtod(value.c_str(), nullptr) != 0)
            return std::string();
        const unsigned long long number = std::strtoull(value.c_str(), &end, 10);
        return wholeNumber(value, end) ? std::to_string(number) + "U" : std::string();
    }
    const long long number = std::strtoll(value.c_str(), &end, 10);
    if (!wholeNumber(value, end))
        return std::string();
    if (number == LLONG_MIN) // no literal of its own: its magnitude is no long long
        return "(-9223372036854775807LL - 1)";
    return number < 0 ? "(" + std::to_string(number) + ")" : std::to_string(number);
}

std::string floatingLiteral(const std::string& value)
{
    char* end = nullptr;
    errno = 0;
    const double number = std::strtod(value.c_str(), &end);
    if (!wholeNumber(value, end) || !std::isfinite(number))
        return std::string();
    char text[40];
    std::snprintf(text, sizeof(text), "%.17g", number);
    const std::string literal = text;
    const bool plain = literal.find_first_of(".eE") == std::string::npos;
    return (number < 0 ? "(" : "") + literal + (plain ? ".0" : "") + (number < 0 ? ")" : "");
}

void writeTextList(const CViewType& type, CTextBuffer& out)
{
    std::string list = "static const char *const " + enumerationList(type) + "[] = {";
    for (const std::string& value : *type.allowedValues())
        list.append(cStringLiteral(value)).append(", ");
    out.line(list, "NULL};");
}

void writeNumberTest(const CViewType& type, const CStructMember& member, CTextBuffer& out)
{
    const char* cType = numberType(member.builtin).cType;
    std::string values;
    for (const std::string& value : *type.allowedValues()) {
        const std::string literal = enumerationNumberLiteral(value, member.builtin);
        if (!literal.empty())
            values.append(values.empty() ? "" : ", ").append(literal);
    }
    out.line("static int ", enumerationTest(type), "(", cType, " value)");
    out.line("{");
    if (values.empty()) {
        out.line("\t(void)value;");
        out.line("\treturn 0;");
    } else {
        out.line("\tstatic const ", cType, "\tvalues[] = {", values, "};");
        out.line("\tsize_t\ti;");
        out.emptyLine();
        out.line("\tfor(i = 0; i < sizeof(values) / sizeof(values[0]); i++){");
        out.line("\t\tif(values[i] == value)");
        out.line("\t\t\treturn 1;");
        out.line("\t}");
        out.line("\treturn 0;");
    }
    out.line("}");
}

} // namespace

const CStructMember* enumeratedValue(const CViewType& type, const CStructDef& def)
{
    return valueMember(type, def, CStructMember::Text);
}

const CStructMember* enumeratedNumber(const CViewType& type, const CStructDef& def)
{
    return valueMember(type, def, CStructMember::Number);
}

const CViewType* attributeEnumeration(const CViewType& owner, const CStructMember& member)
{
    if (member.origin != CStructMember::Attribute || member.wildcard || owner.soapArray)
        return nullptr;
    for (const CViewAttribute& attribute : owner.attributes) {
        if (attribute.name == member.xmlName && attribute.ns == member.ns)
            return attribute.type.user != nullptr && attribute.type.user->allowedValues() != nullptr
                ? attribute.type.user
                : nullptr;
    }
    return nullptr;
}

std::string enumerationList(const CViewType& type)
{
    return "myenum_" + std::string(type.cName);
}

std::string enumerationArguments(const CViewType& type)
{
    const char* rule = "MYCHECK_AS_TEXT";
    switch (valueFacets(CTypeRef{0, &type}).kind) {
    case CValueKind::Integer: rule = "MYCHECK_AS_INTEGER"; break;
    case CValueKind::Decimal: rule = "MYCHECK_AS_DECIMAL"; break;
    case CValueKind::Floating: rule = "MYCHECK_AS_DOUBLE"; break;
    default: break;
    }
    return enumerationList(type) + ", " + rule;
}

std::string enumerationTest(const CViewType& type)
{
    return enumerationList(type) + "_lists";
}

std::string enumerationNumberLiteral(const std::string& value, int builtin)
{
    if (isFloatingTypeId(builtin))
        return floatingLiteral(value);
    if (builtin == Schema::XSD_BOOLEAN)
        return std::string();
    return integerLiteral(value, numberType(builtin).decode == CDecodeConversion::Unsigned);
}

void writeEnumerationLists(const CStructLayout& layout, CTextBuffer& out)
{
    bool any = false;
    std::unordered_set<const CViewType*> listed;
    const auto comment = [&any, &out] {
        if (!any)
            out.line("//the values each enumerated type lists, as they are written");
        any = true;
    };
    for (const CViewType* type : layout.codecTypes()) {
        const CStructDef& def = *layout.structOf(type);
        if (enumeratedValue(*type, def) != nullptr && listed.insert(type).second) {
            comment();
            writeTextList(*type, out);
        } else if (const CStructMember* number = enumeratedNumber(*type, def)) {
            comment();
            writeNumberTest(*type, *number, out);
        }
    }
    // An attribute's value is text whatever its type's values are.
    for (const CViewType* type : layout.codecTypes()) {
        for (const CStructMember& member : layout.structOf(type)->members) {
            const CViewType* enumerated = attributeEnumeration(*type, member);
            if (enumerated != nullptr && listed.insert(enumerated).second) {
                comment();
                writeTextList(*enumerated, out);
            }
        }
    }
    if (any)
        out.emptyLine();
}

bool hasEnumeratedType(const CStructLayout& layout)
{
    for (const CViewType* type : layout.codecTypes()) {
        const CStructDef& def = *layout.structOf(type);
        if (enumeratedValue(*type, def) != nullptr || enumeratedNumber(*type, def) != nullptr)
            return true;
        for (const CStructMember& member : def.members) {
            if (attributeEnumeration(*type, member) != nullptr)
                return true;
        }
    }
    return false;
}
