// Small parts of the schema model: names, the error log, the content model a
// group shares, a type's attributes by name and where names were first
// referenced.

#include "schema/ComplexType.h"
#include "schema/ContentModel.h"
#include "schema/Group.h"
#include "schema/QualifiedName.h"
#include "schema/ReferenceSpots.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaErrorLog.h"
#include "schema/SchemaParserException.h"

#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>

using namespace Schema;

namespace {

TEST(SchemaQualifiedName, SplitsPrefixAndDropsArrayMarker)
{
    const struct {
        const char* text;
        const char* prefix;
        const char* local;
    } cases[] = {
        {"xsd:string", "xsd", "string"},
        {"string", "", "string"},
        {":string", "", ":string"},     // a leading colon is part of the name
        {"tns:Item[]", "tns", "Item"},
        {"ArrayOfInt[]", "", "ArrayOfInt"},
        {"[]", "", "[]"},
        {"tns:[]", "tns", "[]"},
        {"a:b:c", "a", "b:c"},          // only the first colon splits
        {"Matrix[][]", "", "Matrix"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        const QualifiedName name(c.text);
        EXPECT_EQ(c.prefix, name.getPrefix()) << c.text;
        EXPECT_EQ(c.local, name.getLocalName()) << c.text;
        EXPECT_EQ("", name.getNamespace()) << c.text;
    }
}

// Levels 1 and 2 are written when the report level admits them; level 0
// throws with the position whatever the report level, and writes nothing.
TEST(SchemaErrorLog, WritesWhatTheReportLevelAdmitsAndThrowsOnFatal)
{
    const struct {
        int reportLevel;
        int level;
        const char* written;
    } cases[] = {
        {1, 1, "a.xsd:12:7: Error: bad thing\n"}, {1, 2, ""}, {2, 2, "a.xsd:12:7: Alert: bad thing\n"},
        {2, 1, "a.xsd:12:7: Error: bad thing\n"}, {0, 1, ""}, {0, 2, ""}, {5, 3, ""}, {5, -1, ""},
    };
    for (const auto& c : cases) {
        std::ostringstream log;
        const SchemaErrorLog errors(&log, c.reportLevel);
        errors.error("bad thing", c.level, 12, 7, "a.xsd");
        EXPECT_EQ(c.written, log.str()) << "report " << c.reportLevel << " level " << c.level;
        try {
            errors.error("fatal", SchemaErrorLog::Fatal, 12, 7);
            ADD_FAILURE() << "level 0 must throw";
        } catch (const SchemaParserException& failure) {
            EXPECT_EQ(12, failure.getLine());
            EXPECT_EQ(7, failure.getColumn());
        }
        EXPECT_EQ(c.written, log.str());
    }
    const SchemaErrorLog silent(nullptr, 2);
    EXPECT_NO_THROW(silent.error("quiet", SchemaErrorLog::Alert, 1, 1));
}

// A group's definition goes to the schema's group list and into a content
// model as its owner, references go into other models; whichever goes first,
// the others keep the shared content model.
TEST(SchemaGroup, SharedContentModelOutlivesEveryHolderInAnyOrder)
{
    for (int order = 0; order < 3; ++order) {
        auto list = std::make_unique<std::list<Group>>();
        auto owning = std::make_unique<ContentModel>(ContentModel::Sequence);
        auto referring = std::make_unique<ContentModel>(ContentModel::Choice);
        {
            Group definition("address", 0, 3);
            auto model = std::make_shared<ContentModel>(ContentModel::Sequence);
            model->addElement(Element("street", SharedText("urn:shop"), XSD_STRING, 1, 1, false, "", ""));
            definition.setContentModel(model);
            owning->addGroup(definition, false);
            list->push_back(std::move(definition));
        }
        referring->addGroup(list->front(), true);
        EXPECT_FALSE(owning->getContents()[0].getGroup()->isReference());
        EXPECT_TRUE(referring->getContents()[0].getGroup()->isReference());
        (order == 0 ? list.reset() : order == 1 ? owning.reset() : referring.reset());
        for (ContentModel* model : {owning.get(), referring.get()}) {
            if (model == nullptr)
                continue;
            const Group& group = *model->getContents()[0].getGroup();
            EXPECT_EQ(3, group.getMax());
            EXPECT_EQ("street", group.getContentModel()->getContents()[0].getElement()->getName());
        }
    }
}

// A type is searched by name in order while it has few attributes and
// through a map once it has more: on either side, and across the change, each
// name finds its attribute, and an attribute of a name the type has already
// replaces it in place.
TEST(SchemaComplexType, AttributesAreFoundByNameWhateverTheirNumber)
{
    for (const int count : {0, 1, 8, 9, 40}) {
        SCOPED_TRACE(count);
        ComplexType type{SharedText("urn:t")};
        for (int i = 0; i < count; ++i)
            type.addAttribute(Attribute("a" + std::to_string(i), XSD_INT, false, "", "", false));
        // Each one given again, required now: replaced where it stands.
        for (int i = 0; i < count; i += 3)
            type.addAttribute(Attribute("a" + std::to_string(i), XSD_DATE, false, "", "", true));
        ASSERT_EQ(count, type.getNumAttributes());
        for (int i = 0; i < count; ++i) {
            const Attribute* found = type.getAttribute("a" + std::to_string(i));
            ASSERT_NE(nullptr, found) << i;
            EXPECT_EQ(found, type.getAttribute(i)) << i;
            EXPECT_EQ(i % 3 == 0 ? XSD_DATE : XSD_INT, found->getType()) << i;
            EXPECT_EQ(i % 3 == 0, found->isRequired()) << i;
        }
        EXPECT_EQ(nullptr, type.getAttribute("a" + std::to_string(count)));
        EXPECT_EQ(nullptr, type.getAttribute(""));
    }
}

// The first reference to a name keeps its spot, in the document it stood in,
// whichever documents references come from before and after it.
TEST(SchemaReferenceSpots, KeepEachNamesFirstSpotAndItsDocument)
{
    const struct {
        const char* document;
        const char* ns;
        const char* local;
        int line;
    } references[] = {
        {"a.xsd", "urn:t", "x", 1}, {"b.xsd", "urn:t", "y", 2}, {"b.xsd", "urn:t", "x", 3},
        {"a.xsd", "urn:u", "x", 4}, {"a.xsd", "urn:t", "z", 5}, {"c.xsd", "urn:t", "y", 6},
    };
    const struct {
        const char* ns;
        const char* local;
        const char* document; // null: never referenced
        int line;
    } expected[] = {
        {"urn:t", "x", "a.xsd", 1}, {"urn:t", "y", "b.xsd", 2}, {"urn:u", "x", "a.xsd", 4},
        {"urn:t", "z", "a.xsd", 5}, {"urn:u", "y", nullptr, 0}, {"", "x", nullptr, 0},
    };
    ReferenceSpots spots;
    for (const auto& r : references)
        spots.recordFirst(NameKeyView(r.ns, r.local), r.document, [&r] { return std::make_pair(r.line, 10 * r.line); });
    for (const auto& e : expected) {
        SCOPED_TRACE(std::string(e.ns) + " " + e.local);
        const std::optional<SourceSpot> found = spots.find(NameKeyView(e.ns, e.local));
        ASSERT_EQ(e.document != nullptr, found.has_value());
        if (!found)
            continue;
        EXPECT_EQ(e.document, found->document);
        EXPECT_EQ(e.line, found->line);
        EXPECT_EQ(10 * e.line, found->column);
    }
}

} // namespace
