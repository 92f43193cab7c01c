// Every entry point of the corpus's manifest, parsed as Generate Code parses
// it. corpus-summary.tsv says for each what must come of it: it parses (with
// a SOAP 1.1 binding or with the notice that there is none) to the model its
// summary records, counts of the model and of references left unresolved; or
// it is rejected with the message the row names, for the rule the row gives.
// None crashes, hangs or leaks (the sanitizers watch the last two). With
// KELVANE_REGENERATE_CORPUS_SUMMARY set the test writes the summaries of the
// file anew from what parsed, keeping the other columns.
//
// Imports by absolute URL are served from the corpus as URLMAP.tsv maps them,
// by a loopback server that stands in as the proxy of every download; https
// addresses cannot be served that way and fail at once. Under Windows the
// entry points that fetch anything are left out.

#include "WsdlParseTestSupport.h"
#include "support/CorpusManifest.h"
#include "support/LoopbackHttpServer.h"
#include "support/ProxyEnvironment.h"

#include "schema/ComplexType.h"
#include "schema/ContentModel.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaParser.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <set>

using namespace Wsdl;
using namespace wsdltest;

namespace {

using testsupport::CorpusFolder;
using testsupport::readTsv;

// Sends what a stream receives elsewhere for the life of the object.
class ScopedStreamBuffer {
public:
    ScopedStreamBuffer(std::ostream& stream, std::streambuf* target) : stream_(stream), saved_(stream.rdbuf(target)) {}
    ~ScopedStreamBuffer() { stream_.rdbuf(saved_); }
    ScopedStreamBuffer(const ScopedStreamBuffer&) = delete;
    ScopedStreamBuffer& operator=(const ScopedStreamBuffer&) = delete;

private:
    std::ostream& stream_;
    std::streambuf* saved_;
};

bool hasSoapBinding(const WsdlParser& parser)
{
    for (const auto& binding : parser.getBindings()) {
        if (binding->getProtocolNamespace() == SoapBindingUri || binding->getProtocolNamespace() == Soap12BindingUri)
            return true;
    }
    return false;
}

// References a parse left without their declaration: particles and
// attributes still waiting for one, type ids that name no type, parts
// without a declaration and ports without a binding. Imported schemas count.
class Unresolved {
public:
    std::vector<std::string> of(const WsdlParser& parser)
    {
        for (int position = 0; parser.getSchemaParser(position) != nullptr; ++position)
            schema(*parser.getSchemaParser(position));
        for (const auto& message : parser.getMessages()) {
            for (const Part& part : message->getParts()) {
                const Schema::SchemaParser* owner = parser.getSchemaParser(part.getSchemaPosition());
                const bool declared = part.getRefKind() == Part::ElementRef ? part.getElement() != nullptr
                                                                            : part.getType() != Schema::XSD_INVALID;
                note(!declared || (owner != nullptr && dangling(*owner, part.getType())), "part " + part.getName());
            }
        }
        for (const auto& service : parser.getServices()) {
            for (const Service::Port& port : service->getPorts())
                note(port.binding == nullptr, "port " + port.name);
        }
        return names_;
    }

private:
    static bool dangling(const Schema::SchemaParser& schema, int typeId)
    {
        return typeId >= Schema::FIRST_USER_TYPE && schema.getType(typeId) == nullptr;
    }

    void schema(const Schema::SchemaParser& schema)
    {
        if (!seen_.insert(&schema).second)
            return;
        for (int id = Schema::FIRST_USER_TYPE; id < Schema::FIRST_USER_TYPE + schema.getNumTypes(); ++id) {
            const auto* complex = dynamic_cast<const Schema::ComplexType*>(schema.getType(id));
            note(schema.getType(id) == nullptr, "type " + schema.getNamespace() + " #" + std::to_string(id));
            // A type borrowed from another schema is walked there, with its ids.
            if (complex != nullptr && complex->getTypeId() == id && complex->getNamespace() == schema.getNamespace()) {
                model(schema, complex->getContentModel());
                attributes(schema, complex->getAttributes());
            }
        }
        for (const Schema::Element& element : schema.getElements())
            this->element(schema, element);
        attributes(schema, schema.getAttributes());
        for (const Schema::Group& group : schema.getGroups())
            model(schema, group.getContentModel());
        for (const auto& imported : schema.getImports()) {
            if (imported.sParser != nullptr)
                this->schema(*imported.sParser);
        }
    }

    void element(const Schema::SchemaParser& schema, const Schema::Element& element)
    {
        note(element.isForwardRef() || dangling(schema, element.getType()), "element " + element.getName());
    }

    template <typename List>
    void attributes(const Schema::SchemaParser& schema, const List& attributes)
    {
        for (const Schema::Attribute& attribute : attributes)
            note(attribute.isForwardRef() || dangling(schema, attribute.getType()), "attribute " + attribute.getName());
    }

    void model(const Schema::SchemaParser& schema, const Schema::ContentModel* model)
    {
        if (model == nullptr || !models_.insert(model).second)
            return;
        for (const auto& entry : model->getContents()) {
            if (entry.getElement() != nullptr)
                element(schema, *entry.getElement());
            this->model(schema, entry.getContentModel());
            if (entry.getGroup() != nullptr)
                this->model(schema, entry.getGroup()->getContentModel());
        }
    }

    void note(bool unresolved, const std::string& what)
    {
        if (unresolved)
            names_.push_back(what);
    }

    std::vector<std::string> names_;
    std::set<const Schema::SchemaParser*> seen_;
    std::set<const Schema::ContentModel*> models_;
};

// One row of the summary: per schema of the document "types/elements", then
// messages, parts, operations, bindings, ports and unresolved references.
std::vector<std::string> summaryOf(const WsdlParser& parser, std::vector<std::string>& unresolved)
{
    unresolved = Unresolved().of(parser);
    std::string schemas;
    for (int position = 2; position < parser.getSchemaCount() + 2; ++position) {
        const Schema::SchemaParser& schema = *parser.getSchemaParser(position);
        schemas += (schemas.empty() ? "" : " ") + std::to_string(schema.getNumTypes()) + "/" +
            std::to_string(schema.getNumElements());
    }
    int parts = 0;
    for (const auto& message : parser.getMessages())
        parts += message->getNumParts();
    int operations = 0;
    WsdlParser::PortTypeList::const_iterator portType;
    WsdlParser::PortTypeList::const_iterator portTypesEnd;
    for (bool any = parser.getPortTypes(portType, portTypesEnd); any && portType != portTypesEnd; ++portType)
        operations += (*portType)->getNumOps();
    int ports = 0;
    for (const auto& service : parser.getServices())
        ports += static_cast<int>(service->getPorts().size());
    return {schemas.empty() ? "-" : schemas,      std::to_string(parser.getMessages().size()),
            std::to_string(parts),                std::to_string(operations),
            std::to_string(parser.getBindings().size()), std::to_string(ports),
            std::to_string(unresolved.size())};
}

// The columns of corpus-summary.tsv.
enum Column { Path, Expected, Remote, Message, Rule, Schemas, Unresolved = Schemas + 6, Because, Columns };
const std::string SummaryFile = KELVANE_SOURCE_DIR "/tests/wsdl/corpus-summary.tsv";
const char* const RegenerateVariable = "KELVANE_REGENERATE_CORPUS_SUMMARY";

class WsdlParseCorpusTest : public WsdlParseTest {
protected:
    WsdlParseCorpusTest() : proxy_(server_.port())
    {
        for (const auto& row : readTsv(CorpusFolder + "URLMAP.tsv")) {
            if (row.size() >= 2)
                server_.serve(row[0], {200, testsupport::readBytes(CorpusFolder + row[1])});
        }
        std::ifstream in(SummaryFile, std::ios::binary);
        std::getline(in, heading_);
        for (auto& row : readTsv(SummaryFile)) {
            row.resize(Columns);
            rows_.push_back(row);
        }
    }

    void check(std::vector<std::string>& row)
    {
        const int requestsBefore = server_.totalRequests();
        diagnostics_.str("");
        {
            // Schemas imported by schemas report to the standard output.
            const ScopedStreamBuffer reports(std::cout, diagnostics_.rdbuf());
            try {
                parseLocation(CorpusFolder + row[Path]);
            } catch (const WsdlException& failure) {
                FAIL() << "constructor: " << failure.description;
            }
        }
        const std::string messages = diagnostics_.str();
        EXPECT_EQ(server_.totalRequests() > requestsBefore, row[Remote] == "remote");
        if (row[Expected] == "rejected") {
            EXPECT_TRUE(parser_->hasError());
            EXPECT_NE(messages.find(row[Message]), std::string::npos) << messages;
            // The last line says where the parse ended.
            EXPECT_TRUE(endsWithPosition(messages)) << messages;
            return;
        }
        ASSERT_TRUE(row[Expected] == "parses" || row[Expected] == "no-soap") << row[Expected];
        EXPECT_FALSE(parser_->hasError()) << messages;
        EXPECT_EQ(row[Expected] == "parses", hasSoapBinding(*parser_));
        EXPECT_EQ(row[Expected] == "no-soap", messages.find("No SOAP binding") != std::string::npos) << messages;
        std::vector<std::string> unresolved;
        const std::vector<std::string> summary = summaryOf(*parser_, unresolved);
        const std::vector<std::string> golden(row.begin() + Schemas, row.begin() + Unresolved + 1);
        if (std::getenv(RegenerateVariable) != nullptr) {
            std::copy(summary.begin(), summary.end(), row.begin() + Schemas);
            row[Because] = unresolved.empty() ? std::string() : row[Because];
            regenerate_ = true;
        } else {
            EXPECT_EQ(golden, summary) << "schemas, messages, parts, operations, bindings, ports, unresolved";
        }
        std::string names;
        for (const std::string& name : unresolved)
            names += "\n  " + name;
        EXPECT_TRUE(unresolved.empty() || !row[Because].empty()) << "unresolved, and the summary says not why:" << names;
    }

    void TearDown() override
    {
        WsdlParseTest::TearDown();
        if (!regenerate_)
            return;
        std::ofstream out(SummaryFile, std::ios::binary);
        out << heading_ << '\n';
        for (const auto& row : rows_) {
            for (std::size_t i = 0; i < row.size(); ++i)
                out << (i == 0 ? "" : "\t") << row[i];
            out << '\n';
        }
    }

    testsupport::LoopbackHttpServer server_;
    testsupport::ProxyEnvironment proxy_;
    std::string heading_;
    std::vector<std::vector<std::string>> rows_;
    bool regenerate_ = false;
};

TEST_F(WsdlParseCorpusTest, EveryEntryPointOfTheManifestHasOneRow)
{
    std::set<std::string> manifest;
    for (const auto& entry : testsupport::corpusManifest()) {
        if (entry.entryPoint())
            manifest.insert(entry.path);
    }
    std::set<std::string> table;
    for (const auto& row : rows_)
        EXPECT_TRUE(table.insert(row[Path]).second) << "twice: " << row[Path];
    EXPECT_EQ(table, manifest);
}

TEST_F(WsdlParseCorpusTest, EveryEntryPointParsesToItsSummaryOrEndsWithItsMessage)
{
    ASSERT_FALSE(rows_.empty()) << SummaryFile;
    for (auto& row : rows_) {
#ifdef _WIN32
        if (row[Remote] == "remote")
            continue;
#endif
        SCOPED_TRACE(row[Path] + (row[Rule].empty() ? "" : ": " + row[Rule]));
        check(row);
    }
}

#ifndef _WIN32
TEST_F(WsdlParseCorpusTest, AbsoluteImportsComeFromTheCorpusAndHttpsFailsCleanly)
{
    const std::string addressing = "http://www.w3.org/2005/08/addressing/ws-addr.xsd";
    const auto document = [](const std::string& location) {
        return definitions("<types><xsd:schema targetNamespace=\"urn:t\" "
                           "xmlns:wsa=\"http://www.w3.org/2005/08/addressing\">"
                           "<xsd:import namespace=\"http://www.w3.org/2005/08/addressing\" schemaLocation=\"" +
                           location +
                           "\"/><xsd:complexType name=\"To\"><xsd:sequence><xsd:element ref=\"wsa:EndpointReference\"/>"
                           "</xsd:sequence></xsd:complexType></xsd:schema></types>\n" +
                           calculatorMessages() + calculatorPortType() + calculatorBinding());
    };
    parse(document(addressing));
    expectSuccess();
    EXPECT_EQ(server_.requestCount(addressing), 1);

    const std::string secure = "https://www.w3.org/2005/08/addressing/ws-addr.xsd";
    parse(document(secure));
    expectFailure("could not import namespace from location " + secure);
    expectFailure(fatal("Error parsing schema types for urn:t"));
}
#endif

} // namespace
