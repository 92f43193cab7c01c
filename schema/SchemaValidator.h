#ifndef KELVANE_SCHEMA_SCHEMAVALIDATOR_H
#define KELVANE_SCHEMA_SCHEMAVALIDATOR_H

#include "schema/ValueContainer.h"

#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class XmlPullParser;

namespace Schema {

class Attribute;
class ComplexType;
class ContentModel;
class SchemaParser;
class SimpleType;

// Checks an element read through a pull parser against a type of a parsed
// schema and records what it read in a tree of value containers.
//
// A violation of the structure (an undeclared attribute or element, a
// missing required attribute, an occurrence count out of bounds) throws
// SchemaParserException. A value that does not fit its type is no error: it
// is stored with its valid flag cleared and validation goes on.
class SchemaValidator {
public:
    // Elements and content models open at once in one validation: as deep as
    // the pull parser lets elements alone nest. Each level costs stack and a
    // level of the container tree; past this many the instance is refused
    // with SchemaParserException.
    static constexpr int MaxNesting = 1024;
    // List and union types checked inside one another for one value; a
    // value needing more is invalid.
    static constexpr std::size_t MaxValueNesting = 64;

    // Neither argument is owned; the log is kept for the caller's messages.
    SchemaValidator(SchemaParser& parser, std::ostream& log);
    SchemaValidator(const SchemaValidator&) = delete;
    SchemaValidator& operator=(const SchemaValidator&) = delete;

    // Validates the element whose START_TAG the pull parser stands on, with
    // all its content, and leaves the parser on the element's END_TAG.
    // Returns the new container; null when the element is a schema that
    // fails to parse.
    std::unique_ptr<ValueContainer> validate(XmlPullParser& xpp, int typeId);
    // The same into a container of that type, which keeps what was read also
    // when an exception ends validation. Returns &container, or null as above.
    ValueContainer* validate(XmlPullParser& xpp, int typeId, ValueContainer& container);

    // The value of text as typeId. Null when typeId is neither a built-in
    // type, nor a simple type, nor a complex type with simple content. xpp,
    // when given, resolves the prefix of a QName value.
    std::unique_ptr<ValueContainer> validateValue(const std::string& text, int typeId,
                                                  const XmlPullParser* xpp = nullptr);
    ValueContainer* validateValue(const std::string& text, int typeId, ValueContainer& container,
                                  const XmlPullParser* xpp = nullptr);

    std::ostream& getLog() const { return log_; }

private:
    // The content walk of one element: its name for the messages, the
    // models entered at the current position (so that a group that contains
    // itself ends), and the first occurrence count out of bounds, reported
    // once no element is left over.
    struct Walk {
        std::string elementName;
        std::vector<const ContentModel*> open;
        std::string occurrenceError;
    };

    // Values.
    bool admitsValue(int typeId) const;
    const SimpleType* simpleType(int typeId) const;
    void checkChain(const std::string& text, int basicType, int typeId, ValueContainer& container,
                    const XmlPullParser* xpp);
    void checkValue(const std::string& text, int basicType, const SimpleType* type, ValueContainer& container,
                    const XmlPullParser* xpp);
    bool checkItems(const std::string& text, const SimpleType& type, const XmlPullParser* xpp);
    bool checkMembers(const std::string& text, const SimpleType& type, const XmlPullParser* xpp);
    bool validatesAs(const std::string& text, int typeId, const XmlPullParser* xpp);

    // Elements.
    ValueContainer* readSchema(XmlPullParser& xpp, ValueContainer& container);
    void validateComplex(XmlPullParser& xpp, const ComplexType& type, ValueContainer& container);
    // A type or one of its bases, with the schema whose table its ids are
    // read in and the container its attributes' values go to.
    struct Level {
        const ComplexType* type;
        SchemaParser* schema;
        ValueContainer* container;
    };
    std::vector<Level> derivation(const ComplexType& type, ValueContainer& container);
    void validateAttributes(XmlPullParser& xpp, const std::vector<Level>& levels);
    void checkRequired(const XmlPullParser& xpp, const Level& level) const;
    void validateText(XmlPullParser& xpp, int typeId, ValueContainer& container, const std::string& mismatch);
    void requireEnd(const XmlPullParser& xpp, const std::string& name, const std::string& mismatch) const;
    void nextTag(XmlPullParser& xpp, const std::string& elementName) const;
    void checkNesting(const XmlPullParser& xpp, const std::string& elementName) const;

    // Content models (SchemaValidatorContent.cpp).
    // A content model with the schema whose table its ids are read in.
    struct Content {
        const ContentModel* model;
        SchemaParser* schema;
    };
    std::vector<Content> contentModels(const ComplexType& type);
    void validateContent(XmlPullParser& xpp, const std::vector<Content>& models, ValueContainer& container);
    int walkRepeated(XmlPullParser& xpp, const ContentModel& model, int limit, bool required,
                     ValueContainer& container, Walk& walk);
    int walkModel(XmlPullParser& xpp, const ContentModel& model, bool required, ValueContainer& modelContainer,
                  Walk& walk);
    int walkSequence(XmlPullParser& xpp, const ContentModel& model, std::vector<int>& counts,
                     ValueContainer& modelContainer, Walk& walk);
    int walkChoice(XmlPullParser& xpp, const ContentModel& model, std::vector<int>& counts,
                   ValueContainer& modelContainer, Walk& walk);
    int walkAll(XmlPullParser& xpp, const ContentModel& model, std::vector<int>& counts,
                ValueContainer& modelContainer, const Walk& walk);
    int walkNested(XmlPullParser& xpp, const ContentModel& model, std::size_t index, bool required,
                   ValueContainer& modelContainer, Walk& walk);
    void consumeElement(XmlPullParser& xpp, std::size_t index, std::vector<int>& counts,
                        ValueContainer& modelContainer, const Walk& walk);
    static void checkOccurrences(const ContentModel& model, const std::vector<int>& counts, Walk& walk);

    [[noreturn]] void fail(const std::string& message, const XmlPullParser* xpp) const;

    SchemaParser& parser_;
    std::ostream& log_;
    // List and union types whose items are being checked: a type that names
    // itself, directly or through others, ends as an invalid value.
    std::vector<const SimpleType*> activeTypes_;
    // What each member or item type said of a text, for the value being
    // checked: a type met again on another path is not checked again.
    std::map<std::pair<int, std::string>, bool> checked_;
    // Elements and content models open now.
    int nesting_ = 0;
};

} // namespace Schema

#endif
