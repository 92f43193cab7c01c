// Linking the schemas of a parse after each imported document: linking only
// what is new leaves every schema knowing what relinking all of them would
// have told it, in the same order; and the index of the schemas serving each
// namespace, brought up to date, answers as one built afresh.

#include "schema/SchemaParser.h"
#include "support/SchemaNames.h"
#include "wsdl/SchemaLinks.h"
#include "wsdl/SchemaNamespaceIndex.h"
#include "xml/XmlPullParser.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using testsupport::qname;

namespace {

struct SchemaText {
    const char* ns;
    const char* body;
};

// A schema read from text; the reader and the text live as long as it does.
struct ReadSchema {
    explicit ReadSchema(const SchemaText& text)
        : input(std::string("<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" targetNamespace=\"") + text.ns +
                "\">" + text.body + "</xs:schema>"),
          reader(input)
    {
        reader.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
        parser = std::make_unique<Schema::SchemaParser>(&reader, "", log);
        ok = parser->parseSchemaTag();
    }

    std::istringstream input;
    XmlPullParser reader;
    std::ostringstream log;
    std::unique_ptr<Schema::SchemaParser> parser;
    bool ok = false;
};

// The first two schemas of a parse are the built-in ones, which linking leaves alone.
const SchemaText BuiltIn = {"urn:built-in", ""};

// Every schema linked with every other of each namespace it names, as the
// parser did after each document before.
void relinkAll(const Wsdl::SchemaLinks::SchemaList& schemas)
{
    std::map<std::string, std::vector<std::size_t>> byNamespace;
    for (std::size_t i = 2; i < schemas.size(); ++i)
        byNamespace[schemas[i]->getNamespace()].push_back(i);
    for (std::size_t i = 2; i < schemas.size(); ++i) {
        std::vector<std::string> named{schemas[i]->getNamespace()};
        for (const auto& imported : schemas[i]->getImports())
            named.push_back(imported.ns);
        for (const std::string& ns : named) {
            for (const std::size_t sibling : byNamespace[ns]) {
                if (sibling != i)
                    schemas[i]->addImport(schemas[sibling].get());
            }
        }
    }
}

// What a schema knows: its import records (namespace, and the listed schema
// the record holds: its position, -1 for none or one not listed), and what
// its look-ups of the probed names find (their type, 0 for none).
std::string knowledge(const Wsdl::SchemaLinks::SchemaList& schemas, std::size_t position)
{
    std::ostringstream out;
    for (const auto& record : schemas[position]->getImports()) {
        int held = -1;
        for (std::size_t j = 0; j < schemas.size(); ++j) {
            if (schemas[j].get() == record.sParser)
                held = static_cast<int>(j);
        }
        out << record.ns << "=" << held << " ";
    }
    for (const auto& [ns, name] : std::vector<std::pair<const char*, const char*>>{
             {"urn:s", "a"}, {"urn:s", "b"}, {"urn:m", "c"}, {"urn:n", "d"}}) {
        const Schema::Element* found = schemas[position]->getElement(qname(ns, name));
        out << name << ":" << (found != nullptr ? found->getType() : 0) << " ";
    }
    return out.str();
}

// The positions of the schemas serving each namespace the test knows.
std::string servers(Wsdl::SchemaNamespaceIndex& index, const Wsdl::SchemaLinks::SchemaList& schemas,
                    Wsdl::SchemaLinks::RecordJournal& journal)
{
    std::ostringstream out;
    for (const char* ns : {"urn:built-in", "urn:s", "urn:n", "urn:m"}) {
        out << ns << ":";
        for (const std::size_t position : index.servers(ns, schemas, journal))
            out << " " << position;
        out << "; ";
    }
    return out.str();
}

TEST(SchemaLinks, LinkingWhatIsNewEqualsRelinkingAll)
{
    // Namespace urn:s is split over three schemas that declare a twice with
    // other types; urn:n and urn:m name other namespaces without a location.
    const std::vector<SchemaText> texts = {
        {"urn:s", R"(<xs:element name="a" type="xs:int"/>)"},
        {"urn:n", R"(<xs:import namespace="urn:s"/><xs:element name="d" type="xs:string"/>)"},
        {"urn:s", R"(<xs:element name="a" type="xs:date"/><xs:element name="b" type="xs:boolean"/>)"},
        {"urn:n", R"(<xs:import namespace="urn:s"/><xs:import namespace="urn:m"/>)"},
        {"urn:m", R"(<xs:import namespace="urn:n"/><xs:element name="c" type="xs:double"/>)"},
        {"urn:s", R"(<xs:import namespace="urn:m"/><xs:element name="b" type="xs:float"/>)"},
    };
    const struct {
        const char* what;
        std::vector<std::vector<std::size_t>> documents; // the schemas each document brings, in order
        std::size_t learnsAfter; // after this document, a schema comes to name a namespace:
        std::size_t learner;     // the learner-th schema read
        const char* learns;
    } cases[] = {
        {"one schema a document", {{0}, {1}, {2}, {3}, {4}, {5}}, 99, 0, ""},
        {"several schemas a document", {{0, 1, 2}, {3, 4}, {5}}, 99, 0, ""},
        {"all in one document", {{0, 1, 2, 3, 4, 5}}, 99, 0, ""},
        {"an older schema comes to name a namespace still to come", {{0}, {1}, {2}, {3}, {4}, {5}}, 1, 1, "urn:m"},
        {"an older schema comes to name a namespace read before", {{0}, {1}, {2}, {3}, {4}, {5}}, 1, 0, "urn:n"},
        {"a schema comes to name its own namespace", {{0, 1}, {2}, {3}, {4, 5}}, 0, 0, "urn:s"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::unique_ptr<ReadSchema>> held;
        Wsdl::SchemaLinks::RecordJournal journal;
        Wsdl::SchemaLinks::SchemaList linked, relinked;
        for (int copy = 0; copy < 2; ++copy) {
            for (int b = 0; b < 2; ++b) {
                held.push_back(std::make_unique<ReadSchema>(BuiltIn));
                (copy == 0 ? linked : relinked).push_back(std::move(held.back()->parser));
            }
        }
        Wsdl::SchemaLinks links;
        Wsdl::SchemaNamespaceIndex index;
        for (std::size_t d = 0; d < c.documents.size(); ++d) {
            for (const std::size_t s : c.documents[d]) {
                for (Wsdl::SchemaLinks::SchemaList* list : {&linked, &relinked}) {
                    held.push_back(std::make_unique<ReadSchema>(texts[s]));
                    ASSERT_TRUE(held.back()->ok) << held.back()->log.str();
                    list->push_back(std::move(held.back()->parser));
                }
            }
            links.link(linked, journal);
            relinkAll(relinked);
            for (std::size_t i = 2; i < linked.size(); ++i)
                ASSERT_EQ(knowledge(relinked, i), knowledge(linked, i)) << "document " << d << ", schema " << i;
            index.forget();
            Wsdl::SchemaNamespaceIndex fresh;
            EXPECT_EQ(servers(fresh, linked, journal), servers(index, linked, journal)) << "document " << d;
            if (d == c.learnsAfter) {
                linked[2 + c.learner]->addImport(c.learns, std::string());
                relinked[2 + c.learner]->addImport(c.learns, std::string());
                index.forget();
                Wsdl::SchemaNamespaceIndex afterwards;
                EXPECT_EQ(servers(afterwards, linked, journal), servers(index, linked, journal)) << "learnt after " << d;
            }
        }
    }
}

} // namespace
