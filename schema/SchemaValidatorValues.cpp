// The value side of the validator: a text read as the built-in type its
// schema type finally derives from, checked against the facets of every
// simple type on the way.

#include "schema/SchemaValidator.h"

#include "schema/ComplexType.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaParser.h"
#include "schema/SimpleType.h"
#include "xml/XmlPullParser.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <set>

namespace Schema {

namespace {

bool isXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The whole text, blanks around it aside, must be one number of T that T can
// hold; an explicit '+' is allowed as in XML Schema.
template <typename T>
bool readNumber(const std::string& text, T& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    while (first != last && isXmlSpace(*first))
        ++first;
    while (last != first && isXmlSpace(last[-1]))
        --last;
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-' && first[1] != '+')
        ++first;
    std::from_chars_result result{first, std::errc::invalid_argument};
    if constexpr (std::is_floating_point_v<T>)
        result = std::from_chars(first, last, value, std::chars_format::general);
    else
        result = std::from_chars(first, last, value);
    if (first != last && result.ec == std::errc() && result.ptr == last)
        return true;
    value = T();
    return false;
}

// Items of a list value: separated by blanks, empty items not counted.
std::vector<std::string> listItems(const std::string& text)
{
    std::vector<std::string> items;
    std::string::size_type pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && isXmlSpace(text[pos]))
            ++pos;
        std::string::size_type end = pos;
        while (end < text.size() && !isXmlSpace(text[end]))
            ++end;
        if (end > pos)
            items.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    return items;
}

// Keeps a type on the list of types being checked for the life of the object.
class ActiveType {
public:
    ActiveType(std::vector<const SimpleType*>& active, const SimpleType* type) : active_(active)
    {
        cycle_ = std::find(active.begin(), active.end(), type) != active.end();
        if (!cycle_)
            active_.push_back(type);
    }
    ~ActiveType()
    {
        if (!cycle_)
            active_.pop_back();
    }
    ActiveType(const ActiveType&) = delete;
    ActiveType& operator=(const ActiveType&) = delete;

    bool cycle() const { return cycle_; }

private:
    std::vector<const SimpleType*>& active_;
    bool cycle_;
};

} // namespace

const SimpleType* SchemaValidator::simpleType(int typeId) const
{
    return dynamic_cast<const SimpleType*>(parser_.getType(typeId));
}

bool SchemaValidator::admitsValue(int typeId) const
{
    return SchemaParser::isBasicType(parser_.getBasicContentType(typeId));
}

std::unique_ptr<ValueContainer> SchemaValidator::validateValue(const std::string& text, int typeId,
                                                               const XmlPullParser* xpp)
{
    if (!admitsValue(typeId))
        return nullptr;
    auto container = std::make_unique<ValueContainer>(typeId, &parser_);
    validateValue(text, typeId, *container, xpp);
    return container;
}

ValueContainer* SchemaValidator::validateValue(const std::string& text, int typeId, ValueContainer& container,
                                               const XmlPullParser* xpp)
{
    // The basic type resolves complex types with simple content too, and is
    // no built-in type for complex content or a chain of bases that never
    // reaches one.
    const int basicType = parser_.getBasicContentType(typeId);
    if (!SchemaParser::isBasicType(basicType))
        return nullptr;
    int valueType = typeId;
    for (int step = 0; step <= parser_.getNumTypes(); ++step) {
        const auto* complex = dynamic_cast<const ComplexType*>(parser_.getType(valueType));
        if (complex == nullptr)
            break;
        valueType = complex->getSimpleContentType();
    }
    container.setText(text);
    checkChain(text, basicType, valueType, container, xpp);
    return &container;
}

// Checks the text against the type and each user type it restricts, until
// one fails, the base is built in, or the type is a list or a union (whose
// items were checked against their own types).
void SchemaValidator::checkChain(const std::string& text, int basicType, int typeId, ValueContainer& container,
                                 const XmlPullParser* xpp)
{
    for (int step = 0; step <= parser_.getNumTypes(); ++step) {
        const SimpleType* type = simpleType(typeId);
        checkValue(text, basicType, type, container, xpp);
        if (!container.isValid() || type == nullptr || type->isList() || type->isUnion()
            || type->getBaseTypeId() < FIRST_USER_TYPE)
            return;
        typeId = type->getBaseTypeId();
    }
}

void SchemaValidator::checkValue(const std::string& text, int basicType, const SimpleType* type,
                                 ValueContainer& container, const XmlPullParser* xpp)
{
    if (type != nullptr && (type->isList() || type->isUnion())) {
        container.setValue(text, checkItems(text, *type, xpp));
        return;
    }
    switch (basicType) {
    case XSD_INTEGER:
    case XSD_INT: {
        int value = 0;
        const bool read = readNumber(text, value);
        container.setValue(value, read && (type == nullptr || type->isValidInt(value)));
        return;
    }
    case XSD_LONG: {
        std::int64_t value = 0;
        const bool read = readNumber(text, value);
        container.setValue(value, read);
        return;
    }
    case XSD_POSINT:
    case XSD_ULONG: {
        std::uint64_t value = 0;
        const bool read = readNumber(text, value);
        container.setValue(value, read);
        return;
    }
    case XSD_FLOAT: {
        float value = 0;
        const bool read = readNumber(text, value);
        container.setValue(value, read && (type == nullptr || type->isValidFloat(value)));
        return;
    }
    case XSD_DECIMAL:
    case XSD_DOUBLE: {
        double value = 0;
        const bool read = readNumber(text, value);
        container.setValue(value, read);
        return;
    }
    case XSD_BYTE: {
        const auto first = std::find_if(text.begin(), text.end(), [](char c) { return !isXmlSpace(c); });
        container.setValue(first != text.end() ? *first : '\0', first != text.end());
        return;
    }
    case XSD_BOOLEAN:
        container.setValue(text == "true" || text == "yes" || text == "1", true);
        return;
    case XSD_QNAME: {
        QualifiedName name(text);
        if (xpp != nullptr)
            name.setNamespace(xpp->getNamespace(name.getPrefix()));
        container.setValue(name, true);
        return;
    }
    default:
        container.setValue(text, type == nullptr || basicType != XSD_STRING || type->isValidString(text));
        return;
    }
}

// A type met on several paths (a union naming another twice, or two members
// sharing a member) is checked once per text; a self-referencing type, which
// no valid schema has, may answer differently by where it was entered, and
// always ends.
bool SchemaValidator::checkItems(const std::string& text, const SimpleType& type, const XmlPullParser* xpp)
{
    const bool outermost = activeTypes_.empty();
    if (outermost)
        checked_.clear(); // a check that ended by an exception left its results behind
    bool valid = false;
    {
        const ActiveType active(activeTypes_, &type);
        valid = !active.cycle() && activeTypes_.size() <= MaxValueNesting && checkMembers(text, type, xpp);
    }
    if (outermost)
        checked_.clear();
    return valid;
}

bool SchemaValidator::checkMembers(const std::string& text, const SimpleType& type, const XmlPullParser* xpp)
{
    if (type.isList()) {
        const std::vector<std::string> items = listItems(text);
        return std::all_of(items.begin(), items.end(), [&](const std::string& item) {
            return validatesAs(item, type.getBaseTypeId(), xpp);
        });
    }
    std::set<int> tried;
    for (const int member : type.getMemberTypes()) {
        if (tried.insert(member).second && validatesAs(text, member, xpp))
            return true;
    }
    return false;
}

bool SchemaValidator::validatesAs(const std::string& text, int typeId, const XmlPullParser* xpp)
{
    const auto key = std::make_pair(typeId, text);
    const auto known = checked_.find(key);
    if (known != checked_.end())
        return known->second;
    ValueContainer scratch(typeId, &parser_);
    const bool valid = validateValue(text, typeId, scratch, xpp) != nullptr && scratch.isValid();
    checked_[key] = valid;
    return valid;
}

} // namespace Schema
