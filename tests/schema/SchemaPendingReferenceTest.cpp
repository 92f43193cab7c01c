// References to global elements met before their declaration: each waits
// under its name, is settled once (at the declaration, or when the schema
// ends), and a particle whose content model has gone in between is passed
// over.

#include "SchemaParserTestSupport.h"
#include "schema/PendingElementRefs.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace Schema;
using namespace schematest;

namespace {

Element declarationOf(const std::string& name, int typeId)
{
    return Element(name, SharedText(), typeId, 1, 1, true, std::string(), std::string());
}

std::string names(const std::vector<QualifiedName>& list)
{
    std::string joined;
    for (const QualifiedName& name : list)
        joined += (joined.empty() ? "" : " ") + name.getLocalName();
    return joined;
}

// The list on its own: mentions in order, settling now and at the ends of
// two passes, particles that went, and a name mentioned again once settled.
TEST(PendingElementRefs, SettlesEachNameOnceAndReportsMentionsInOrder)
{
    struct Mention {
        const char* name;
        bool particle;
        bool modelGone;
    };
    const struct {
        const char* what;
        std::vector<Mention> before;   // mentions, then the names settled at once
        std::vector<const char*> settledNow;
        std::vector<Mention> after;    // mentions after those
        std::vector<const char*> knownFirst, knownSecond;
        const char* missingFirst;
        const char* missingSecond;
        std::vector<int> typeOfParticle; // per particle in mention order; 0: still waits
    } cases[] = {
        {"found at the end", {{"a", true, false}, {"b", true, false}}, {}, {}, {"a", "b"}, {}, "", "",
         {101, 102}},
        {"missing names in mention order", {{"a", true, false}, {"b", true, false}, {"a", true, false}}, {}, {},
         {}, {}, "a b a", "a b a", {0, 0, 0}},
        {"settled at once, then never looked up", {{"a", true, false}, {"b", true, false}}, {"a"}, {}, {"b"}, {},
         "", "", {201, 102}},
        {"found only by the second pass", {{"a", true, false}, {"b", true, false}, {"c", true, false}}, {}, {},
         {"b"}, {"a", "c"}, "a c", "", {101, 102, 103}},
        {"a particle whose model went is passed over", {{"a", true, true}, {"a", true, false}}, {}, {}, {"a"}, {},
         "", "", {0, 101}},
        {"a declaration written as a reference only waits to be reported", {{"a", false, false}}, {}, {}, {}, {"a"},
         "a", "", {}},
        {"mentioned again once settled, it waits anew", {{"a", true, false}}, {"a"}, {{"a", true, false}}, {}, {},
         "a", "a", {201, 0}},
    };
    const std::map<std::string, int> typeIds = {{"a", 101}, {"b", 102}, {"c", 103}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PendingElementRefs pending;
        std::vector<std::unique_ptr<Element>> particles;
        std::vector<std::shared_ptr<bool>> lives;
        const auto mentionAll = [&](const std::vector<Mention>& mentions) {
            for (const Mention& m : mentions) {
                const std::size_t at = pending.mention(qname(Tns, m.name));
                if (!m.particle)
                    continue;
                particles.push_back(std::make_unique<Element>(declarationOf(m.name, XSD_INVALID)));
                particles.back()->setForwardRef(qname(Tns, m.name));
                lives.push_back(std::make_shared<bool>(true));
                pending.addParticle(at, *particles.back(), lives.back());
                if (m.modelGone) {
                    *lives.back() = false;
                    particles.back().reset();
                }
            }
        };
        mentionAll(c.before);
        for (const char* name : c.settledNow)
            pending.settle(NameKeyView(Tns, name), declarationOf(name, 100 + typeIds.at(name)));
        mentionAll(c.after);
        const auto lookUpIn = [&](const std::vector<const char*>& known) {
            return [&typeIds, known](const QualifiedName& name) -> std::optional<Element> {
                for (const char* k : known) {
                    if (name.getLocalName() == k)
                        return declarationOf(k, typeIds.at(k));
                }
                return std::nullopt;
            };
        };
        EXPECT_EQ(c.missingFirst, names(pending.settleAll(lookUpIn(c.knownFirst))));
        EXPECT_EQ(c.missingSecond, names(pending.settleAll(lookUpIn(c.knownSecond))));
        EXPECT_EQ(std::string(c.missingSecond).empty(), pending.empty());
        ASSERT_EQ(c.typeOfParticle.size(), particles.size());
        for (std::size_t i = 0; i < particles.size(); ++i) {
            if (!particles[i])
                continue;
            EXPECT_EQ(c.typeOfParticle[i] == 0, particles[i]->isForwardRef()) << i;
            EXPECT_EQ(c.typeOfParticle[i] == 0 ? XSD_INVALID : c.typeOfParticle[i], particles[i]->getType()) << i;
        }
    }
}

// Through the parser: whichever way a reference is settled (at its
// declaration, at the end of the schema, or by finalize once another schema
// is registered), a particle takes the declaration the end of the schema
// would give it and keeps its own bounds; one whose type was read again, or
// whose parse failed, is never touched.
TEST(PendingElementRefs, ParticlesTakeTheDeclarationTheSchemaGives)
{
    const char* const later = R"(<xs:schema xmlns:xs="http://www.w3.org/2001/XMLSchema" targetNamespace="urn:other">
        <xs:element name="e" type="xs:boolean"/></xs:schema>)";
    const struct {
        const char* what;
        const char* body;
        bool registersLater; // urn:other, declaring e, is registered after the parse
        bool inGroup;        // the particle is the first of group G's content, else of type T's
        int type;
        int maxOccurs;
        bool ok;
        const char* logged;
    } cases[] = {
        {"declared later", R"(<xs:complexType name="T"><xs:sequence><xs:element ref="tns:e" maxOccurs="4"/>
            </xs:sequence></xs:complexType><xs:element name="e" type="xs:date"/>)",
         false, false, XSD_DATE, 4, true, ""},
        {"the first of two declarations", R"(<xs:complexType name="T"><xs:sequence><xs:element ref="tns:e"/>
            </xs:sequence></xs:complexType><xs:element name="e" type="xs:date"/><xs:element name="e" type="xs:int"/>)",
         false, false, XSD_DATE, 1, true, ""},
        {"a type read twice keeps only the second", R"(<xs:complexType name="T"><xs:sequence>
            <xs:element ref="tns:e"/></xs:sequence></xs:complexType>
            <xs:complexType name="T"><xs:sequence><xs:element ref="tns:e"/><xs:element ref="tns:f"/></xs:sequence>
            </xs:complexType><xs:element name="e" type="xs:date"/><xs:element name="f" type="xs:int"/>)",
         false, false, XSD_DATE, 1, true, ""},
        {"in a group definition", R"(<xs:group name="G"><xs:sequence><xs:element ref="tns:e" minOccurs="0"/>
            </xs:sequence></xs:group><xs:element name="e" type="xs:int"/>)",
         false, true, XSD_INT, 1, true, ""},
        {"never declared", R"(<xs:complexType name="T"><xs:sequence><xs:element ref="tns:x"/></xs:sequence>
            </xs:complexType>)",
         false, false, XSD_INVALID, 1, true, "Could not resolve element reference x\n"},
        {"in another schema registered later", R"(<xs:complexType name="T" xmlns:o="urn:other"><xs:sequence>
            <xs:element ref="o:e" maxOccurs="2"/></xs:sequence></xs:complexType>)",
         true, false, XSD_BOOLEAN, 2, true, ""},
        {"a type read twice, settled by finalize", R"(<xs:complexType name="T" xmlns:o="urn:other"><xs:sequence>
            <xs:element ref="o:e"/></xs:sequence></xs:complexType><xs:complexType name="T" xmlns:o="urn:other">
            <xs:sequence><xs:element ref="o:e"/></xs:sequence></xs:complexType>)",
         true, false, XSD_BOOLEAN, 1, true, ""},
        {"a type whose parse failed, settled by finalize", R"(<xs:complexType name="T" xmlns:o="urn:other">
            <xs:sequence><xs:element ref="o:e"/><xs:bogus/></xs:sequence></xs:complexType>)",
         true, false, XSD_INVALID, 1, false, "Unexpected tag bogus"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ParsedSchema other(later);
        ASSERT_TRUE(other.ok) << other.text();
        ParsedSchema s(schema(c.body));
        EXPECT_EQ(c.ok, s.ok) << s.text();
        if (c.registersLater)
            s.parser.addImport(&other.parser);
        s.parser.finalize();
        EXPECT_NE(std::string::npos, s.text().find(c.logged)) << s.text();
        if (!c.ok) {
            EXPECT_EQ(nullptr, s.complex("T")); // went with the failed parse
            continue;
        }
        const ContentModel* model = c.inGroup ? s.parser.getGroup(qname(Tns, "G"))->getContentModel()
                                              : s.complex("T")->getContentModel();
        const Element* settled = particle(model, 0);
        ASSERT_NE(nullptr, settled);
        EXPECT_EQ(c.type, settled->getType());
        EXPECT_EQ(c.type == XSD_INVALID, settled->isForwardRef());
        EXPECT_EQ(c.maxOccurs, settled->getMax());
    }
}

// Messages about references that stay undefined come once per mention, in
// the order of the mentions.
TEST(PendingElementRefs, UndefinedReferencesAreReportedPerMentionInOrder)
{
    ParsedSchema s(schema(R"(<xs:complexType name="T"><xs:sequence><xs:element ref="tns:x"/>
        <xs:element ref="tns:y"/><xs:element ref="tns:x"/></xs:sequence></xs:complexType>)"));
    const std::string log = s.text();
    const std::string x = "Could not resolve element reference x\n";
    const std::string y = "Could not resolve element reference y\n";
    const std::size_t firstX = log.find(x);
    const std::size_t firstY = log.find(y);
    const std::size_t lastX = log.rfind(x);
    ASSERT_NE(std::string::npos, firstX) << log;
    EXPECT_LT(firstX, firstY) << log;
    EXPECT_LT(firstY, lastX) << log;
}

} // namespace
