#include "generator/sample/SampleValues.h"

#include "generator/sample/BoundedSamples.h"
#include "schema/SchemaConstants.h"

#include <cstdlib>

namespace {

// A fixed text that a value of the built-in type admits; null for the
// types whose sample is a name and a number.
const char* fixedText(int builtin)
{
    switch (builtin) {
    case Schema::XSD_DATETIME: return "2001-02-03T04:05:06";
    case Schema::XSD_DATE: return "2001-02-03";
    case Schema::XSD_TIME: return "04:05:06";
    case Schema::XSD_BASE64BIN: return "c2FtcGxl";
    case Schema::XSD_HEXBIN: return "0A1B";
    case Schema::XSD_ANYURI: return "http://example.org/sample";
    // Numbers held as text (the unbounded ones, an attribute's) must read as numbers.
    case Schema::XSD_DECIMAL: return "1.5";
    case Schema::XSD_BOOLEAN: return "true";
    case Schema::XSD_FLOAT:
    case Schema::XSD_DOUBLE: return "2.5";
    default: return isNumericTypeId(builtin) || builtin == Schema::XSD_INTEGER || builtin == Schema::XSD_POSINT ? "1" : nullptr;
    }
}

bool isNumberLiteral(const std::string& text)
{
    if (text.empty() || text.find_first_not_of("+-0123456789.eE") != std::string::npos)
        return false;
    char* end = nullptr;
    std::strtod(text.c_str(), &end);
    return end != nullptr && *end == '\0';
}

CSampleValue given(std::string text)
{
    return CSampleValue{CSampleValue::Given, std::move(text), false};
}

// A number: the counted samples could leave the range its type's own facets bound.
CSampleValue numberSample(const CTypeRef& type, int builtin, const std::string* first)
{
    if (builtin == Schema::XSD_BOOLEAN)
        return given("true");
    if (first != nullptr && isNumberLiteral(*first))
        return given(*first);
    const CValueFacets own = valueFacets(type, false);
    if (own.hasRange() || own.hasDigits() || !own.pattern.empty()) {
        if (std::string bounded = boundedSample(valueFacets(type), ""); !bounded.empty())
            return given(std::move(bounded));
    }
    return CSampleValue{CSampleValue::Counted, std::string(), isFloatingTypeId(builtin)};
}

} // namespace

CSampleValue sampleValue(const CTypeRef& type, int builtin, bool number, std::string_view name)
{
    const std::vector<std::string>* values = type.user != nullptr ? type.user->allowedValues() : nullptr;
    const std::string* first = values != nullptr && !values->empty() ? &values->front() : nullptr;
    if (number)
        return numberSample(type, builtin, first);
    if (first != nullptr)
        return given(*first);
    // What the facets bound comes before the type's usual sample.
    if (std::string bounded = boundedSample(valueFacets(type), name); !bounded.empty())
        return given(std::move(bounded));
    if (const char* fixed = fixedText(builtin))
        return given(fixed);
    return CSampleValue{CSampleValue::Numbered, std::string(name), false};
}

std::string sampleText(const CSampleValue& value, int n, int most)
{
    switch (value.kind) {
    case CSampleValue::Counted: return std::to_string(n) + (value.floating ? ".5" : "");
    case CSampleValue::Numbered: {
        std::string text = value.text.substr(0, 200) + std::to_string(n);
        if (most >= 0 && static_cast<std::size_t>(most) < text.size())
            text.resize(static_cast<std::size_t>(most));
        return text;
    }
    default: return value.text;
    }
}
