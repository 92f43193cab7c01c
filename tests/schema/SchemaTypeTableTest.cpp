#include "schema/ComplexType.h"
#include "schema/SchemaConstants.h"
#include "schema/TypeTable.h"
#include "support/SchemaNames.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

using namespace Schema;

namespace {

const char* const Tns = "urn:shop";

using testsupport::qname;

// A complex type that counts its live instances, to see who frees what.
class CountedType : public ComplexType {
public:
    explicit CountedType(const std::string& name = "", const std::string& ns = Tns) : ComplexType(SharedText(ns))
    {
        setName(name);
        ++alive;
    }
    ~CountedType() override { --alive; }
    static int alive;
};
int CountedType::alive = 0;

TEST(SchemaTypeTable, IdLookupByNamespace)
{
    const struct {
        const char* targetNs;
        const char* ns;
        const char* local;
        bool create;
        int id;
        int count;
    } cases[] = {
        {Tns, SchemaUri, "unsignedByte", true, XSD_STRING, 0}, // other XSD names read as string
        {Tns, SchemaUri, "int", false, XSD_INT, 0},
        {Tns, "", "int", false, XSD_INT, 0},
        {"", "", "int", false, XSD_INVALID, 0},                 // empty target: user names only
        {Tns, "urn:other", "Order", true, XSD_INVALID, 0},      // not served here
        {Tns, Tns, "Order", false, XSD_INVALID, 0},
        {Tns, Tns, "Order", true, 29, 1},                       // forward reference
        {Tns, "", "Order", true, 29, 1},
        {"", "", "Order", true, 29, 1},
    };
    for (const auto& c : cases) {
        TypeTable table;
        table.setTargetNamespace(c.targetNs);
        EXPECT_EQ(c.id, table.getTypeId(qname(c.ns, c.local), c.create)) << c.ns << ' ' << c.local;
        EXPECT_EQ(c.count, table.getNumTypes()) << c.ns << ' ' << c.local;
    }
}

// Anonymous types are named type<count>: a name a declaration took, or one
// only looked up, is passed over, and a declaration of a made-up name gets
// its own id.
TEST(SchemaTypeTable, MadeUpNamesAndDeclaredNamesStayApart)
{
    TypeTable table;
    table.setTargetNamespace(Tns);
    const int anonymous = table.addType(std::make_unique<CountedType>());
    EXPECT_EQ("type0", table.getTypePtr(anonymous)->getName());
    const int declared0 = table.addType(std::make_unique<CountedType>("type0"));
    const int declared4 = table.addType(std::make_unique<CountedType>("type4"));
    EXPECT_EQ(XSD_INVALID, table.getTypeId(qname(Tns, "type3")));
    const int second = table.addType(std::make_unique<CountedType>());
    EXPECT_NE(anonymous, declared0);
    EXPECT_EQ("type5", table.getTypePtr(second)->getName());
    EXPECT_EQ(declared0, table.getTypeId(qname(Tns, "type0")));
    EXPECT_EQ(declared4, table.getTypeId(qname(Tns, "type4")));
    EXPECT_TRUE(table.getTypePtr(anonymous)->isAnonymous());
    EXPECT_EQ(anonymous, table.getTypeId(qname(Tns, table.getTypePtr(anonymous)->getName())));
}

// The table owns its own types and frees one a redefinition displaces; a
// type of another schema stays that schema's. Growing the table keeps every
// id where it was.
TEST(SchemaTypeTable, OwnsItsOwnTypesOnly)
{
    CountedType::alive = 0;
    CountedType foreign("Address", "urn:other");
    {
        TypeTable table;
        table.setTargetNamespace(Tns);
        const int external = table.addExternalTypeId(qname("urn:other", "Address"), &foreign);
        EXPECT_EQ(external, table.addExternalTypeId(qname("urn:other", "Address"), nullptr));
        EXPECT_EQ(&foreign, table.getTypePtr(external));
        const int order = table.addType(std::make_unique<CountedType>("Order"));
        auto redefinition = std::make_unique<CountedType>("Order");
        const CountedType* kept = redefinition.get();
        EXPECT_EQ(order, table.addType(std::move(redefinition)));
        EXPECT_EQ(kept, table.getTypePtr(order));
        EXPECT_EQ(2, CountedType::alive);
        for (int i = 0; i < 40; ++i) {
            const int id = table.addType(std::make_unique<CountedType>("T" + std::to_string(i)));
            EXPECT_EQ(kept, table.getTypePtr(order));
            EXPECT_EQ("T" + std::to_string(i), table.getTypePtr(id)->getName());
        }
        EXPECT_EQ(&foreign, table.getTypePtr(external));
        const int pending = table.addExternalTypeId(qname("urn:other", "Phone"), nullptr);
        EXPECT_EQ(nullptr, table.getTypePtr(pending));
        EXPECT_TRUE(table.detectUndefinedTypes());
    }
    EXPECT_EQ(1, CountedType::alive);
}

// The names referenced but never defined are listed in the order of their names, whatever the
// order of their first references; defined and built-in names are not listed.
TEST(SchemaTypeTable, UndefinedNamesListedInNameOrder)
{
    TypeTable table;
    table.setTargetNamespace(Tns);
    for (const char* name : {"Zeta", "alpha", "Mid", "Defined", "Alpha", "Mi", "zeta0", "Mid"})
        table.getTypeId(qname(Tns, name), true);
    table.getTypeId(qname(SchemaUri, "int"), true);
    table.addType(std::make_unique<CountedType>("Defined"));
    std::ostringstream out;
    table.printUndefinedTypes(out);
    std::string expected;
    for (const char* name : {"Alpha", "Mi", "Mid", "Zeta", "alpha", "zeta0"})
        expected += std::string("Could not find {") + Tns + "}:" + name + "\n";
    EXPECT_EQ(expected, out.str());
}

// An id referenced before its type is defined is named by the table alone:
// the name stays the one first looked up however many names follow, and an
// anonymous type that a declaration moves aside answers to its new name.
TEST(SchemaTypeTable, UndefinedIdsKeepTheirNamesAsTheTableGrows)
{
    TypeTable table;
    table.setTargetNamespace(Tns);
    const int anonymous = table.addType(std::make_unique<CountedType>());
    std::vector<std::pair<int, std::string>> pending;
    for (int i = 0; i < 300; ++i) {
        const std::string name = "ForwardReferencedTypeNumber" + std::to_string(i);
        pending.emplace_back(table.getTypeId(qname(Tns, name), true), name);
    }
    table.addType(std::make_unique<CountedType>("type0"));
    const std::string movedTo = table.getTypePtr(anonymous)->getName();
    EXPECT_NE("type0", movedTo);
    const struct {
        int id;
        std::string name;
    } cases[] = {{pending.front().first, pending.front().second},
                 {pending[150].first, pending[150].second},
                 {pending.back().first, pending.back().second},
                 {anonymous, movedTo}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.name, table.getTypeName(c.id).getLocalName()) << c.id;
        EXPECT_EQ(Tns, table.getTypeName(c.id).getNamespace()) << c.id;
    }
    const std::vector<QualifiedName> undefined = table.getUndefinedTypeNames();
    ASSERT_EQ(pending.size(), undefined.size());
    for (std::size_t i = 0; i < pending.size(); ++i)
        EXPECT_EQ(pending[i].second, undefined[i].getLocalName());
}

} // namespace
