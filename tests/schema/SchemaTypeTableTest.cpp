#include "schema/Attribute.h"
#include "schema/ComplexType.h"
#include "schema/ContentModel.h"
#include "schema/Element.h"
#include "schema/SchemaConstants.h"
#include "schema/SimpleType.h"
#include "schema/TypeTable.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <utility>

using namespace Schema;

namespace {

const char* const Tns = "urn:shop";

QualifiedName qname(const std::string& ns, const std::string& local)
{
    QualifiedName name(local);
    name.setNamespace(ns);
    return name;
}

// A complex type that counts its live instances, to see who frees what.
class CountedType : public ComplexType {
public:
    explicit CountedType(const std::string& name, const std::string& ns = Tns) : ComplexType(ns)
    {
        setName(name);
        ++alive;
    }
    ~CountedType() override { --alive; }
    static int alive;
};
int CountedType::alive = 0;

std::unique_ptr<ComplexType> complexType(const std::string& name)
{
    auto type = std::make_unique<ComplexType>(Tns);
    type->setName(name);
    return type;
}

struct TableTest : ::testing::Test {
    TableTest() { table.setTargetNamespace(Tns); }
    TypeTable table;
};

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

TEST_F(TableTest, AnonymousNameNeverOverwritesADeclaredType)
{
    auto declared = complexType("type1");
    ComplexType* raw = declared.get();
    EXPECT_EQ(29, table.addType(std::move(declared)));

    // The count is 1, so the plain rule would name it type1.
    const int anonymous = table.addType(std::make_unique<ComplexType>(Tns));
    EXPECT_EQ(30, anonymous);
    EXPECT_EQ("type2", table.getTypePtr(anonymous)->getName());
    EXPECT_EQ(raw, table.getTypePtr(29));
    EXPECT_EQ(29, table.getTypeId(qname(Tns, "type1")));

    // A name that was only looked up is passed over as well.
    EXPECT_EQ(XSD_INVALID, table.getTypeId(qname(Tns, "type3")));
    EXPECT_EQ("type4", table.getTypePtr(table.addType(std::make_unique<ComplexType>(Tns)))->getName());
}

TEST_F(TableTest, DeclaredTypeDoesNotDisplaceAnAnonymousOneOfItsName)
{
    const int anonymous = table.addType(std::make_unique<ComplexType>(Tns)); // named type0
    auto declared = complexType("type0");
    ComplexType* raw = declared.get();
    const int id = table.addType(std::move(declared));
    EXPECT_NE(anonymous, id);
    EXPECT_EQ(raw, table.getTypePtr(id));
    EXPECT_EQ(id, table.getTypeId(qname(Tns, "type0")));
    const XsdType* moved = table.getTypePtr(anonymous);
    ASSERT_NE(nullptr, moved);
    EXPECT_TRUE(moved->isAnonymous());
    EXPECT_EQ(anonymous, table.getTypeId(qname(Tns, moved->getName())));
}

TEST(SchemaTypeTable, DisplacedTypeIsFreed)
{
    CountedType::alive = 0;
    {
        TypeTable table;
        auto first = std::make_unique<CountedType>("Order");
        auto second = std::make_unique<CountedType>("Order");
        CountedType* kept = second.get();
        EXPECT_EQ(29, table.addType(std::move(first)));
        EXPECT_EQ(2, CountedType::alive);
        EXPECT_EQ(29, table.addType(std::move(second))); // a redefinition
        EXPECT_EQ(1, CountedType::alive);
        EXPECT_EQ(kept, table.getTypePtr(29));
        EXPECT_EQ(1, table.getNumTypes());
    }
    EXPECT_EQ(0, CountedType::alive);
}

// Growing the table moves its slots; every type stays reachable by its id.
TEST(SchemaTypeTable, TypesStayReachableAsTheTableGrows)
{
    TypeTable table;
    for (int i = 0; i < 40; ++i) {
        EXPECT_EQ(29 + i, table.addType(complexType("T" + std::to_string(i))));
        for (int j = 0; j <= i; ++j)
            ASSERT_EQ("T" + std::to_string(j), table.getTypePtr(29 + j)->getName()) << i;
    }
}

TEST(SchemaTypeTable, ExternalTypesAreSharedNotOwned)
{
    CountedType::alive = 0;
    CountedType foreign("Address", "urn:other");
    {
        TypeTable table;
        table.setTargetNamespace(Tns);
        const QualifiedName name = qname("urn:other", "Address");
        const int id = table.addExternalTypeId(name, &foreign);
        EXPECT_EQ(29, id);
        EXPECT_EQ(id, table.addExternalTypeId(name, nullptr));
        EXPECT_EQ(1, table.getNumTypes());
        EXPECT_EQ(&foreign, table.getTypePtr(id));

        const int pending = table.addExternalTypeId(qname("urn:other", "Phone"), nullptr);
        EXPECT_EQ(30, pending);
        EXPECT_TRUE(table.detectUndefinedTypes());
        ASSERT_EQ(2u, table.getExternalRefs().size());
        EXPECT_EQ("Phone", table.getExternalRefs()[1].name.getLocalName());
        EXPECT_EQ("urn:other", table.getExternalRefs()[1].name.getNamespace());
        EXPECT_EQ("Address", table.getExternalRefs()[0].name.getLocalName());
    }
    EXPECT_EQ(1, CountedType::alive); // the other schema still owns it
}

TEST_F(TableTest, ResolveExternalTypeOnlyFillsSlotsInUse)
{
    CountedType foreign("Phone");
    const int pending = table.addExternalTypeId(qname("urn:other", "Phone"), nullptr);
    const struct {
        int id;
        int result;
    } cases[] = {{pending, pending}, {pending + 1, 0}, {28, 0}, {4, 0}, {0, 0}, {-7, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(c.result, table.resolveExternalType(&foreign, c.id)) << c.id;
    EXPECT_EQ(&foreign, table.getTypePtr(pending));
    EXPECT_FALSE(table.detectUndefinedTypes());
    EXPECT_EQ(1, table.getNumTypes());
}

TEST(SchemaTypeTable, CleanFreesTypesAndStartsAgain)
{
    CountedType::alive = 0;
    TypeTable table;
    for (int i = 0; i < 12; ++i)
        table.addType(std::make_unique<CountedType>("T" + std::to_string(i)));
    table.getTypeId(qname("", "Pending"), true);
    table.clean();
    EXPECT_EQ(0, CountedType::alive);
    EXPECT_EQ(0, table.getNumTypes());
    EXPECT_EQ(nullptr, table.getTypePtr(29));
    EXPECT_FALSE(table.detectUndefinedTypes());
    table.clean(); // twice is harmless
    EXPECT_EQ(29, table.addType(std::make_unique<CountedType>("T0")));
}

} // namespace
