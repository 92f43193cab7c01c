// Small parts of the schema model: names, the error log and the content
// model a group shares.

#include "schema/ContentModel.h"
#include "schema/Group.h"
#include "schema/QualifiedName.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaErrorLog.h"
#include "schema/SchemaParserException.h"

#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <sstream>
#include <string>

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

} // namespace
