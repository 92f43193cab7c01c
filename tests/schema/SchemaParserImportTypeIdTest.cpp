// Declarations taken from another schema (element and attribute references,
// attribute groups, references settled late) carry type ids of the schema
// that takes them: an id names the same type there as it did where it came from.

#include "SchemaParserTestSupport.h"
#include "net/FetchUri.h"
#include "support/CaseFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>
#include <vector>

using namespace Schema;
using namespace schematest;

namespace {

// Padding types come first in every schema of data/, so that an id copied
// unchanged from one table names some other type (or none) in the next.
std::string data(const std::string& name) { return testsupport::fixture("schema/data/" + name); }

// The type an id names in a schema: a built-in id stands for itself.
struct Named {
    int builtin = XSD_INVALID;
    const XsdType* type = nullptr;
};

Named namedBy(const SchemaParser& parser, int id)
{
    if (SchemaParser::isBasicType(id) || id == XSD_INVALID)
        return Named{id, nullptr};
    return Named{XSD_INVALID, parser.getType(id)};
}

std::string describe(const Named& named)
{
    if (named.type == nullptr)
        return "id " + std::to_string(named.builtin);
    return "{" + named.type->getNamespace() + "}" + named.type->getName();
}

void expectSame(const Named& expected, const Named& actual, const std::string& what)
{
    EXPECT_EQ(expected.builtin, actual.builtin) << what;
    EXPECT_EQ(expected.type, actual.type) << what << ": expected " << describe(expected) << ", got "
                                          << describe(actual);
}

struct ImportedSchemas : ::testing::Test {
    ImportedSchemas()
        : third(data("third.xsd")), other(data("other.xsd"), 1, {&third.parser}),
          importing(data("importing.xsd"), 1, {&other.parser})
    {
    }

    const Element* particleOf(const std::string& type, std::size_t index)
    {
        const ComplexType* complex = importing.complex(type);
        return complex != nullptr ? particle(complex->getContentModel(), index) : nullptr;
    }
    int attributeType(const std::string& type, const std::string& attribute)
    {
        const ComplexType* complex = importing.complex(type);
        const Attribute* found = complex != nullptr ? complex->getAttribute(attribute) : nullptr;
        return found != nullptr ? found->getType() : -1;
    }
    Named otherElementType(const std::string& name)
    {
        return namedBy(other.parser, other.element(name)->getType());
    }
    Named otherAttributeType(const std::string& name)
    {
        const Attribute* found = other.parser.getAttribute(qname(OtherNs, name));
        return namedBy(other.parser, found->getType());
    }

    ParsedSchema third;
    ParsedSchema other;
    ParsedSchema importing;
};

TEST_F(ImportedSchemas, TakenDeclarationsKeepTheirTypes)
{
    ASSERT_TRUE(third.ok) << third.text();
    ASSERT_TRUE(other.ok) << other.text();
    ASSERT_TRUE(importing.ok) << importing.text();
    ASSERT_NE(nullptr, otherElementType("Box").type);
    ASSERT_TRUE(otherElementType("Box").type->isAnonymous());
    const std::string boxTypeName = otherElementType("Box").type->getName();

    const struct {
        const char* what;
        std::function<int()> id;  // in the importing schema
        std::function<Named()> expected;
    } cases[] = {
        {"element ref, named type", [&] { return particleOf("W", 0)->getType(); },
         [&] { return Named{XSD_INVALID, other.type("Money")}; }},
        {"element ref, anonymous type", [&] { return particleOf("W", 1)->getType(); },
         [&] { return otherElementType("Box"); }},
        {"element ref, built-in type", [&] { return particleOf("W", 2)->getType(); }, [] { return Named{XSD_INT}; }},
        {"element ref, type of a third schema", [&] { return particleOf("W", 3)->getType(); },
         [&] { return Named{XSD_INVALID, third.type("Third")}; }},
        {"attribute ref, named type", [&] { return attributeType("W", "code"); },
         [&] { return Named{XSD_INVALID, other.type("Code")}; }},
        {"attribute ref, anonymous type", [&] { return attributeType("W", "shade"); },
         [&] { return otherAttributeType("shade"); }},
        {"attribute group, named type", [&] { return attributeType("G", "currency"); },
         [&] { return Named{XSD_INVALID, other.type("Code")}; }},
        {"attribute group, built-in type", [&] { return attributeType("G", "amount"); },
         [] { return Named{XSD_INT}; }},
        {"attribute group, referenced attribute", [&] { return attributeType("G", "shade"); },
         [&] { return otherAttributeType("shade"); }},
        {"attribute group inside a group of this schema", [&] { return attributeType("N", "currency"); },
         [&] { return Named{XSD_INVALID, other.type("Code")}; }},
        {"attribute group inside a group, anonymous type", [&] { return attributeType("N", "shade"); },
         [&] { return otherAttributeType("shade"); }},
    };
    // Right at once, and still right once finalize has settled the borrowed names.
    for (const char* stage : {"parsed", "finalized"}) {
        for (const auto& c : cases) {
            const Named expected = c.expected();
            ASSERT_TRUE(expected.type != nullptr || expected.builtin != XSD_INVALID) << c.what;
            expectSame(expected, namedBy(importing.parser, c.id()), std::string(stage) + ": " + c.what);
        }
        if (std::string(stage) == "parsed") {
            EXPECT_TRUE(importing.parser.finalize()) << importing.text();
        }
    }
    EXPECT_FALSE(importing.logged("Undefined type")) << importing.text();
    // Settling never looked the anonymous type up by its made-up name.
    EXPECT_EQ(boxTypeName, otherElementType("Box").type->getName());
    EXPECT_FALSE(other.logged("Could not find")) << other.text();

    // One borrowed type gets one id, however it was reached.
    EXPECT_EQ(importing.element("Direct")->getType(), particleOf("W", 0)->getType());
    EXPECT_EQ(attributeType("W", "code"), attributeType("G", "currency"));
    EXPECT_EQ(attributeType("W", "shade"), attributeType("N", "shade"));
    // Values of a borrowed type reach their built-in type in the schema that defines it.
    EXPECT_EQ(XSD_SHORT, importing.parser.getBasicContentType(particleOf("W", 3)->getType()));
    EXPECT_EQ(XSD_STRING, importing.parser.getBasicContentType(attributeType("G", "currency")));
    EXPECT_EQ(XSD_DECIMAL, importing.parser.getBasicContentType(particleOf("W", 0)->getType()));
}

TEST_F(ImportedSchemas, NameWaitingForItsSchemaTakesTheTypeADeclarationBrings)
{
    // urn:third is known here only by name when a reference brings its type.
    ParsedSchema waiting(schema(R"(<xs:import namespace="urn:third"/><xs:complexType name="Own"/>
  <xs:element name="Before" type="th:Third"/>
  <xs:complexType name="W"><xs:sequence><xs:element ref="o:Far"/></xs:sequence></xs:complexType>)",
                                "xmlns:o=\"urn:other\" xmlns:th=\"urn:third\""),
                         1, {&other.parser});
    ASSERT_TRUE(waiting.ok) << waiting.text();
    const int before = waiting.element("Before")->getType();
    EXPECT_EQ(before, particle(waiting.complex("W")->getContentModel(), 0)->getType());
    EXPECT_EQ(third.type("Third"), waiting.parser.getType(before));
    EXPECT_TRUE(waiting.parser.finalize()) << waiting.text();
    EXPECT_EQ(third.type("Third"), waiting.parser.getType(before));
}

TEST(ImportedTypeNames, AnonymousTypesOfAnotherSchemaAreKeptApartByObject)
{
    ComplexType first{SharedText(OtherNs)};
    first.setName("type0");
    first.setAnonymous(true);
    ComplexType second{SharedText(OtherNs)};
    second.setName("type0"); // the same made-up name after a rename over there
    second.setAnonymous(true);
    ComplexType declared{SharedText(OtherNs)};
    declared.setName("type0");

    TypeTable table;
    const int firstId = table.addExternalTypeId(first.getQName(), &first);
    EXPECT_EQ(firstId, table.addExternalTypeId(first.getQName(), &first));
    const int secondId = table.addExternalTypeId(second.getQName(), &second);
    const int declaredId = table.addExternalTypeId(declared.getQName(), &declared);
    EXPECT_NE(firstId, secondId);
    EXPECT_NE(firstId, declaredId);
    EXPECT_NE(secondId, declaredId);
    EXPECT_EQ(&first, table.getTypePtr(firstId));
    EXPECT_EQ(&second, table.getTypePtr(secondId));
    EXPECT_EQ(&declared, table.getTypePtr(declaredId));
    EXPECT_EQ(3, table.getNumTypes());
}

// Objects of one kind lie a fixed stride apart: thousands of them, asked for
// again after the table has grown, each find their own id, and a cleaned
// table knows none of them.
TEST(ImportedTypeNames, ManyAnonymousTypesEachKeepTheirId)
{
    constexpr int kMany = 3000;
    std::vector<std::unique_ptr<ComplexType>> types;
    for (int i = 0; i < kMany; ++i) {
        types.push_back(std::make_unique<ComplexType>(SharedText(OtherNs)));
        types.back()->setName("type" + std::to_string(i % 3)); // made-up names repeat
        types.back()->setAnonymous(true);
    }
    TypeTable table;
    std::vector<int> ids;
    for (const auto& type : types)
        ids.push_back(table.addExternalTypeId(type->getQName(), type.get()));
    for (int i = 0; i < kMany; i += 7) {
        ComplexType* type = types[static_cast<std::size_t>(i)].get();
        const int id = ids[static_cast<std::size_t>(i)];
        EXPECT_EQ(id, table.addExternalTypeId(type->getQName(), type)) << i;
        EXPECT_EQ(type, table.getTypePtr(id)) << i;
    }
    EXPECT_EQ(kMany, table.getNumTypes());
    table.clean();
    const int again = table.addExternalTypeId(types[5]->getQName(), types[5].get());
    EXPECT_EQ(types[5].get(), table.getTypePtr(again));
    EXPECT_EQ(1, table.getNumTypes());
}

// Files in a private folder, removed with the downloads they caused.
struct ImportedSchemaFiles : ::testing::Test {
    void TearDown() override { removeFetchedFiles(); }
    testsupport::ScopedWorkingFolder folder;
};

const SchemaParser* importedParser(const SchemaParser& parser, const std::string& ns)
{
    const int index = parser.getImportIndex(ns);
    return index < 0 ? nullptr : parser.getImports()[static_cast<std::size_t>(index)].sParser;
}

TEST_F(ImportedSchemaFiles, ReferencesSettledLateTakeTheIdsOfTheirSchema)
{
    // data/late/b.xsd is read while a.xsd is still being read: its references
    // to a's later declarations wait for finalize; "Early" is found at once,
    // with a type a has only named so far.
    FileSchema a(KELVANE_SOURCE_DIR "/tests/schema/data/late/a.xsd");
    ASSERT_TRUE(a.ok) << a.log.str();
    ASSERT_TRUE(a.parser.finalize()) << a.log.str();
    const SchemaParser* b = importedParser(a.parser, "urn:b");
    ASSERT_NE(nullptr, b);
    const auto typeOf = [&](const std::string& local) {
        return a.parser.getType(a.parser.getTypeId(qname("urn:a", local)));
    };
    const auto attributeOf = [&](const std::string& local) {
        return a.parser.getType(a.parser.getAttribute(qname("urn:a", local))->getType());
    };
    const auto bComplex = [&](const std::string& local) -> const ComplexType* {
        for (int id = FIRST_USER_TYPE; id < FIRST_USER_TYPE + b->getNumTypes(); ++id) {
            const XsdType* type = b->getType(id);
            if (type != nullptr && type->getNamespace() == "urn:b" && type->getName() == local)
                return dynamic_cast<const ComplexType*>(type);
        }
        return nullptr;
    };
    ASSERT_NE(nullptr, bComplex("WB"));
    ASSERT_NE(nullptr, bComplex("GB"));

    const struct {
        const char* what;
        int id; // in b
        const XsdType* expected;
    } cases[] = {
        {"element reference settled by finalize", particle(bComplex("WB")->getContentModel(), 0)->getType(),
         typeOf("TA")},
        {"element reference to a type still to come", particle(bComplex("WB")->getContentModel(), 1)->getType(),
         typeOf("TEarly")},
        {"attribute reference settled by finalize", bComplex("WB")->getAttribute("at")->getType(), typeOf("SA")},
        {"attribute group copy settled by finalize", bComplex("GB")->getAttribute("late")->getType(),
         attributeOf("late")},
    };
    for (const auto& c : cases) {
        ASSERT_NE(nullptr, c.expected) << c.what;
        expectSame(Named{XSD_INVALID, c.expected}, namedBy(*b, c.id), c.what);
    }
    EXPECT_EQ(XSD_INT, b->getBasicContentType(bComplex("WB")->getAttribute("at")->getType()));

    // a's own types come back through b's declarations under a's own ids.
    const auto* usesB = dynamic_cast<const ComplexType*>(typeOf("UsesB"));
    ASSERT_NE(nullptr, usesB);
    const struct {
        const char* what;
        std::size_t particle;
        const char* type;
    } returning[] = {{"type defined before the import", 0, "TBefore"}, {"type defined after the import", 1, "TA"}};
    for (const auto& c : returning) {
        const int id = particle(usesB->getContentModel(), c.particle)->getType();
        EXPECT_EQ(a.parser.getTypeId(qname("urn:a", c.type)), id) << c.what;
        EXPECT_EQ(typeOf(c.type), a.parser.getType(id)) << c.what;
    }
    EXPECT_EQ(XSD_DATE, b->getBasicContentType(bComplex("GB")->getAttribute("late")->getType()));
}

// Walks every particle of a content model, nested models and groups included.
void forEachParticle(const ContentModel* model, const std::function<void(const Element&)>& visit, int depth = 0)
{
    if (model == nullptr || depth > 64)
        return;
    for (const ContentModel::Entry& entry : model->getContents()) {
        if (entry.getKind() == ContentModel::Particle && entry.getElement() != nullptr)
            visit(*entry.getElement());
        else if (entry.getKind() == ContentModel::ParticleContent)
            forEachParticle(entry.getContentModel(), visit, depth + 1);
        else if (entry.getKind() == ContentModel::ParticleGroup && entry.getGroup() != nullptr)
            forEachParticle(entry.getGroup()->getContentModel(), visit, depth + 1);
    }
}

TEST_F(ImportedSchemaFiles, CorpusSchemaBorrowsTheTypesOfItsImport)
{
    const std::string commonNs = "http://www.travelport.com/schema/common_v52_0";
    std::ostringstream log;
    SchemaParser rail(KELVANE_CORPUS_DIR "/wsdl/travelport/rail_v52_0/Rail.xsd", "", log);
    ASSERT_TRUE(rail.parseSchemaTag()) << log.str();
    ASSERT_TRUE(rail.finalize()) << log.str();

    // Every particle's type lies in the namespace the declaration names.
    int borrowedParticles = 0;
    int particles = 0;
    for (int id = FIRST_USER_TYPE; id < FIRST_USER_TYPE + rail.getNumTypes(); ++id) {
        const auto* complex = dynamic_cast<const ComplexType*>(rail.getType(id));
        if (complex == nullptr || complex->getNamespace() != rail.getNamespace())
            continue;
        forEachParticle(complex->getContentModel(), [&](const Element& element) {
            if (SchemaParser::isBasicType(element.getType()) || element.getType() == XSD_INVALID)
                return;
            ++particles;
            const XsdType* type = rail.getType(element.getType());
            ASSERT_NE(nullptr, type) << element.getName();
            EXPECT_EQ(element.getTypeNamespace(), type->getNamespace()) << element.getName();
            borrowedParticles += type->getNamespace() == commonNs ? 1 : 0;
        });
    }
    EXPECT_GT(particles, 0);
    EXPECT_GT(borrowedParticles, 0);

    // The attributes of the borrowed attribute groups keep the common types.
    const struct {
        const char* attribute;
        const char* typeName;
    } cases[] = {{"TotalPrice", "typeMoney"},
                 {"Taxes", "typeMoney"},
                 {"ProviderCode", "typeProviderCode"},
                 {"SupplierCode", "typeSupplierCode"}};
    for (const auto& c : cases) {
        int seen = 0;
        for (int id = FIRST_USER_TYPE; id < FIRST_USER_TYPE + rail.getNumTypes(); ++id) {
            const auto* complex = dynamic_cast<const ComplexType*>(rail.getType(id));
            if (complex == nullptr || complex->getNamespace() != rail.getNamespace())
                continue;
            if (const Attribute* attribute = complex->getAttribute(c.attribute)) {
                ++seen;
                const XsdType* type = rail.getType(attribute->getType());
                ASSERT_NE(nullptr, type) << c.attribute;
                EXPECT_EQ(c.typeName, type->getName()) << c.attribute << " in " << complex->getName();
                EXPECT_EQ(commonNs, type->getNamespace()) << c.attribute;
            }
        }
        EXPECT_GT(seen, 0) << c.attribute;
    }
}

} // namespace
