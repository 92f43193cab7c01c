#include "schema/SchemaValidator.h"

#include "schema/ComplexType.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaParser.h"
#include "schema/SchemaParserException.h"
#include "schema/ScopedValue.h"
#include "xml/XmlPullParser.h"

#include <algorithm>
#include <optional>

namespace Schema {

namespace {

// The value of an attribute of the start tag, unprefixed or in the schema's
// own namespace; none when it is not there.
std::optional<std::string> attributeValue(const XmlPullParser& xpp, const std::string& name,
                                          const std::string& targetNamespace)
{
    for (int i = 0; i < xpp.getAttributeCount(); ++i) {
        const std::string& ns = xpp.getAttributeNamespace(i);
        if (xpp.getAttributeName(i) == name && (ns.empty() || ns == targetNamespace))
            return xpp.getAttributeValue(i);
    }
    return std::nullopt;
}

bool hasAttributeWildcard(const ComplexType* type)
{
    if (type == nullptr)
        return false;
    for (const Attribute& attribute : type->getAttributes()) {
        if (attribute.getType() == XSD_ANY)
            return true;
    }
    return false;
}

// The text content of a simple element up to the next tag: text split by
// entity references or CDATA sections comes back joined, comments and
// processing instructions are left out.
std::string collectText(XmlPullParser& xpp)
{
    std::string text;
    for (;;) {
        const int event = xpp.nextToken();
        if (event == XmlPullParser::TEXT || event == XmlPullParser::ENTITY_REF || event == XmlPullParser::CDSECT)
            text += xpp.getTextView();
        else if (event != XmlPullParser::COMMENT && event != XmlPullParser::PROCESSING_INSTRUCTION)
            return text;
    }
}

} // namespace

SchemaValidator::SchemaValidator(SchemaParser& parser, std::ostream& log) : parser_(parser), log_(log)
{
}

void SchemaValidator::fail(const std::string& message, const XmlPullParser* xpp) const
{
    SchemaParserException failure(message + "\nError validating schema instance\n");
    if (xpp != nullptr)
        failure.setPosition(xpp->getLineNumber(), xpp->getColumnNumber());
    throw failure;
}

std::unique_ptr<ValueContainer> SchemaValidator::validate(XmlPullParser& xpp, int typeId)
{
    auto container = std::make_unique<ValueContainer>(typeId, &parser_);
    if (validate(xpp, typeId, *container) == nullptr)
        return nullptr;
    return container;
}

ValueContainer* SchemaValidator::validate(XmlPullParser& xpp, int typeId, ValueContainer& container)
{
    if (container.getTypeId() != typeId)
        fail("Fatal error ,container's type is not same as the validated type", &xpp);
    checkNesting(xpp, xpp.getName());
    const ScopedValue<int> level(nesting_, nesting_ + 1);
    if (typeId == XSD_SCHEMA)
        return readSchema(xpp, container);
    if (typeId == XSD_ANY) {
        xpp.skipSubTree();
        return &container;
    }
    if (const auto* complex = dynamic_cast<const ComplexType*>(parser_.getType(typeId))) {
        SchemaParser* table = parser_.tableOf(typeId);
        if (table == nullptr || table == &parser_) {
            validateComplex(xpp, *complex, container);
            return &container;
        }
        // A type borrowed from another schema names its base and elements with that schema's ids.
        SchemaValidator borrowed(*table, log_);
        borrowed.nesting_ = nesting_;
        borrowed.validateComplex(xpp, *complex, container);
    } else
        validateText(xpp, typeId, container, "Syntax error " + xpp.getName());
    return &container;
}

// A schema inside the instance is read by a schema parser of its own, which
// the container keeps.
ValueContainer* SchemaValidator::readSchema(XmlPullParser& xpp, ValueContainer& container)
{
    auto schema = std::make_unique<SchemaParser>(&xpp, std::string(), log_);
    if (!schema->parseSchemaTag())
        return nullptr;
    container.adoptSchema(std::move(schema));
    return &container;
}

void SchemaValidator::validateComplex(XmlPullParser& xpp, const ComplexType& type, ValueContainer& container)
{
    const std::string name = xpp.getName();
    const std::vector<Level> levels = derivation(type, container);
    validateAttributes(xpp, levels);
    for (const Level& level : levels)
        checkRequired(xpp, level);

    if (type.getContentType() == XsdType::Simple) {
        // The container may be of the table of a schema that borrowed the
        // type: its text is checked with the type's own id where that is ours.
        const int ownId = parser_.getType(type.getTypeId()) == &type ? type.getTypeId() : container.getTypeId();
        validateText(xpp, ownId, container, "Syntax error");
        return;
    }
    if (const std::vector<Content> models = contentModels(type); !models.empty()) {
        validateContent(xpp, models, container);
        return;
    }
    nextTag(xpp, name);
    requireEnd(xpp, name, "Syntax error");
}

// A type derived by extension holds its bases' content before its own,
// the first base's first; a base borrowed from another schema has its
// content read in that schema's table.
std::vector<SchemaValidator::Content> SchemaValidator::contentModels(const ComplexType& type)
{
    std::vector<Content> models;
    const ComplexType* current = &type;
    SchemaParser* table = &parser_;
    // Bases that derive from each other end when one comes round again.
    for (int hops = 0; current != nullptr && table != nullptr && hops < MaxNesting; ++hops) {
        const ContentModel* model = current->getContentModel();
        const auto seen = [model](const Content& content) { return content.model == model; };
        if (model != nullptr && std::find_if(models.begin(), models.end(), seen) != models.end())
            break;
        if (model != nullptr)
            models.insert(models.begin(), Content{model, table});
        const int baseId = current->getBaseTypeId();
        if (current->getBaseDerivation() != XsdType::Extension || baseId == XSD_ANYTYPE || baseId == current->getTypeId())
            break;
        current = dynamic_cast<const ComplexType*>(table->getType(baseId));
        table = current != nullptr ? table->tableOf(baseId) : nullptr;
    }
    return models;
}

// The type and its bases, nearest first: the attributes of each may stand
// on the element. A base borrowed from another schema is read in that
// schema's table; bases that derive from each other end when one comes round again.
std::vector<SchemaValidator::Level> SchemaValidator::derivation(const ComplexType& type, ValueContainer& container)
{
    std::vector<Level> levels{Level{&type, &parser_, &container}};
    for (int hops = 0; hops < MaxNesting; ++hops) {
        const Level last = levels.back();
        const int baseId = last.type->getBaseTypeId();
        if (baseId == XSD_ANYTYPE || baseId == XSD_INVALID || baseId == last.type->getTypeId())
            break;
        const auto* base = dynamic_cast<const ComplexType*>(last.schema->getType(baseId));
        SchemaParser* schema = base != nullptr ? last.schema->tableOf(baseId) : nullptr;
        const auto seen = [base](const Level& level) { return level.type == base; };
        if (schema == nullptr || std::any_of(levels.begin(), levels.end(), seen))
            break;
        levels.push_back(Level{base, schema, last.container->getBaseContainer(base->getTypeId(), schema)});
    }
    return levels;
}

void SchemaValidator::validateAttributes(XmlPullParser& xpp, const std::vector<Level>& levels)
{
    const std::string& targetNamespace = parser_.getNamespace();
    for (int i = 0; i < xpp.getAttributeCount(); ++i) {
        // Attributes of other vocabularies (xsi:type, say) are not ours to check.
        const std::string& ns = xpp.getAttributeNamespace(i);
        if (!ns.empty() && ns != targetNamespace)
            continue;
        const std::string& name = xpp.getAttributeName(i);
        const auto declares = [&name](const Level& level) { return level.type->getAttribute(name) != nullptr; };
        const auto level = std::find_if(levels.begin(), levels.end(), declares);
        if (level == levels.end()) {
            const auto open = [](const Level& each) { return hasAttributeWildcard(each.type); };
            if (std::any_of(levels.begin(), levels.end(), open))
                continue;
            fail("Unknown attribute \"" + name + "\"", &xpp);
        }
        ValueContainer* target = level->container->getAttributeContainer(name, true);
        if (target == nullptr)
            continue;
        const int typeId = level->type->getAttribute(name)->getType();
        if (level->schema == &parser_) {
            validateValue(xpp.getAttributeValue(i), typeId, *target, &xpp);
            continue;
        }
        // A base's attribute types are its own schema's ids.
        SchemaValidator borrowed(*level->schema, log_);
        borrowed.validateValue(xpp.getAttributeValue(i), typeId, *target, &xpp);
    }
}

void SchemaValidator::checkRequired(const XmlPullParser& xpp, const Level& level) const
{
    const std::string& targetNamespace = level.schema->getNamespace();
    for (const Attribute& attribute : level.type->getAttributes()) {
        if (!attribute.isRequired() || attribute.getType() == XSD_ANY)
            continue;
        const std::optional<std::string> value = attributeValue(xpp, attribute.getName(), targetNamespace);
        if (!value || value->empty())
            fail("Required attribute \"" + attribute.getName() + "\" missing or empty", &xpp);
    }
}

// Text-only content: a simple type, or a complex type with simple content.
void SchemaValidator::validateText(XmlPullParser& xpp, int typeId, ValueContainer& container,
                                   const std::string& mismatch)
{
    const std::string name = xpp.getName();
    const std::string text = collectText(xpp);
    validateValue(text, typeId, container, &xpp);
    requireEnd(xpp, name, mismatch);
}

// Element-only content: blanks, comments and processing instructions may
// stand between the tags, text may not.
void SchemaValidator::nextTag(XmlPullParser& xpp, const std::string& elementName) const
{
    if (xpp.next() != XmlPullParser::TEXT)
        return;
    if (xpp.getText().find_first_not_of(" \t\r\n") != std::string::npos)
        fail("Unexpected text in " + elementName, &xpp);
    xpp.next();
}

// Every element and content model open takes stack and a level of the
// container tree; an instance nested past the limit is refused.
void SchemaValidator::checkNesting(const XmlPullParser& xpp, const std::string& elementName) const
{
    if (nesting_ >= MaxNesting)
        fail("Content nested too deeply in " + elementName, &xpp);
}

void SchemaValidator::requireEnd(const XmlPullParser& xpp, const std::string& name,
                                 const std::string& mismatch) const
{
    if (xpp.getEventType() != XmlPullParser::END_TAG)
        fail("Expected a closing tag for " + name, &xpp);
    if (xpp.getName() != name)
        fail(mismatch, &xpp);
}

} // namespace Schema
