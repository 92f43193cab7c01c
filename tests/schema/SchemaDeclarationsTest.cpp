#include "schema/Element.h"
#include "schema/IdentityConstraint.h"
#include "schema/QualifiedName.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaErrorLog.h"
#include "schema/SchemaParserException.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

using namespace Schema;

namespace {

struct NameCase {
    const char* text;
    const char* prefix;
    const char* local;
};

TEST(SchemaQualifiedName, SplitsPrefixAndDropsArrayMarker)
{
    const NameCase cases[] = {
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
    for (const NameCase& c : cases) {
        const QualifiedName name(c.text);
        EXPECT_EQ(c.prefix, name.getPrefix()) << c.text;
        EXPECT_EQ(c.local, name.getLocalName()) << c.text;
        EXPECT_EQ("", name.getNamespace()) << c.text;
    }
}

Element particle(const std::string& name, int typeId, int minOccurs, int maxOccurs)
{
    return Element(name, "urn:particle", typeId, minOccurs, maxOccurs, false, "", "");
}

TEST(SchemaElement, AssigningADeclarationKeepsTheParticleBounds)
{
    IdentityConstraint key(IdentityConstraint::Key);
    Element declaration("item", "urn:decl", XSD_INT, 1, 1, true, "7", "");
    declaration.setConstraint(&key);

    const struct {
        int minOccurs;
        int maxOccurs;
    } bounds[] = {{1, 5}, {0, UNBOUNDED}, {0, 1}, {3, 3}};
    for (const auto& b : bounds) {
        Element ref = particle("item", XSD_INVALID, b.minOccurs, b.maxOccurs);
        ref.assignDeclaration(declaration);
        EXPECT_EQ(b.minOccurs, ref.getMin());
        EXPECT_EQ(b.maxOccurs, ref.getMax());
        EXPECT_EQ(XSD_INT, ref.getType());
        EXPECT_EQ("urn:decl", ref.getTypeNamespace());
        EXPECT_TRUE(ref.isQualified());
        EXPECT_EQ("7", ref.getDefaultValue());
        EXPECT_EQ(&key, ref.getConstraint());
    }
}

TEST(SchemaErrorLog, WritesOnlyTheLevelsTheReportLevelAdmits)
{
    const struct {
        int reportLevel;
        int level;
        const char* written;
    } cases[] = {
        {1, 1, "Error @12:7  bad thing\n"},
        {1, 2, ""},
        {2, 2, "Alert @12:7  bad thing\n"},
        {2, 1, "Error @12:7  bad thing\n"},
        {0, 1, ""},
        {0, 2, ""},
        {5, 3, ""},  // no such level
        {5, -1, ""},
    };
    for (const auto& c : cases) {
        std::ostringstream log;
        const SchemaErrorLog errors(&log, c.reportLevel);
        errors.error("bad thing", c.level, 12, 7);
        EXPECT_EQ(c.written, log.str()) << "report " << c.reportLevel << " level " << c.level;
    }
}

TEST(SchemaErrorLog, FatalThrowsWithPositionWhateverTheReportLevel)
{
    for (const int reportLevel : {0, 1, 2}) {
        std::ostringstream log;
        const SchemaErrorLog errors(&log, reportLevel);
        try {
            errors.error("Unknown element notation", SchemaErrorLog::Fatal, 12, 7);
            FAIL() << "level 0 must throw";
        } catch (const SchemaParserException& failure) {
            EXPECT_EQ(12, failure.getLine());
            EXPECT_EQ(7, failure.getColumn());
        }
        EXPECT_EQ("", log.str());
    }
}

TEST(SchemaErrorLog, WithoutStreamNothingIsWritten)
{
    const SchemaErrorLog errors(nullptr, 2);
    EXPECT_NO_THROW(errors.error("quiet", SchemaErrorLog::Alert, 1, 1));
    EXPECT_THROW(errors.error("loud", SchemaErrorLog::Fatal, 1, 1), SchemaParserException);
}

} // namespace
