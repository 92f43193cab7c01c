// Every entry point of the corpus's manifest, parsed as Generate Code parses
// it: the documents with a SOAP 1.1 binding parse unless a rule of the parser
// refuses them (the table names the rule); every other one ends with a clear
// message. None crashes, hangs or leaks (the sanitizers watch the last two).
// Each document that parses is compared with its summary in
// corpus-summary.tsv: counts of the model and of references left unresolved.
// Set KELVANE_REGENERATE_CORPUS_SUMMARY to write that file from what parsed.
//
// Imports by absolute URL are served from the corpus as URLMAP.tsv maps them,
// by a loopback server that stands in as the proxy of every download; https
// addresses cannot be served that way and fail at once. Under Windows the
// entry points that fetch anything are left out.

#include "WsdlParseTestSupport.h"
#include "support/LoopbackHttpServer.h"
#include "support/ProxyEnvironment.h"

#include "schema/ComplexType.h"
#include "schema/ContentModel.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaParser.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <set>

using namespace Wsdl;
using namespace wsdltest;

namespace {

const std::string CorpusFolder = KELVANE_CORPUS_DIR "/wsdl/";

enum Outcome {
    Parses,         // with a SOAP 1.1 binding
    NoSoap11,       // parses with the notice that nothing can be generated
    Rejected,       // the parse ends with the error flag and the message
};

struct Entry {
    const char* path;
    Outcome outcome;
    const char* message; // Rejected: a text of the messages
    const char* rule;    // why, for the reader of the table
    bool remote;         // fetches absolute URLs
};

const char* const SchemaFails = "Error parsing schema types for ";
const char* const Https = "imports by https URL, which the test cannot serve";

const Entry Entries[] = {
    {"axis1/axis-ant/Groups.wsdl", NoSoap11, "", "types only", false},
    {"axis1/axis-ant/SalesRankNPrice.wsdl", Parses, "", "", false},
    {"axis1/badWSDL/Error-FaultInOperationWithUndefinedMessage.wsdl", Rejected,
     "Could not resolve type http://www.w3.org/2000/10/XMLSchema:string",
     "a part type in the XML Schema 2000/10 namespace: only 2001 types are built in", false},
    {"axis1/badWSDL/Error-InputInOperationWithMissingMessageAttribute.wsdl", Rejected,
     "Could not resolve type http://www.w3.org/2000/10/XMLSchema:string",
     "a part type in the XML Schema 2000/10 namespace", false},
    {"axis1/badWSDL/mismatchedOperation.wsdl", Rejected, "Could not resolve type http://www.w3.org/1999/XMLSchema:string",
     "a part type in the XML Schema 1999 namespace", false},
    {"axis1/echo-sample/InteropTest.wsdl", Rejected, "Invalid schema",
     "type Map of namespace http://xml.apache.org/xml-soap has no schema", false},
    {"axis1/integration/_import/Import.wsdl", NoSoap11, "",
     "its bindings are in a wsdl:import of another namespace, which is not followed", false},
    {"axis1/integration/any/any.wsdl", Parses, "", "", false},
    {"axis1/integration/arrays2/arraytest.wsdl", Parses, "", "", false},
    {"axis1/integration/attachments/mime.wsdl", Parses, "", "", false},
    {"axis1/integration/attrGroup/AttrGroupService.wsdl", Parses, "", "", false},
    {"axis1/integration/choice/ChoiceService.wsdl", Parses, "", "", false},
    {"axis1/integration/extension/extension.wsdl", Parses, "", "", false},
    {"axis1/integration/include/AddressBook.wsdl", Rejected, "Could not resolve type http://www.w3.org/1999/XMLSchema:string",
     "a part type in the XML Schema 1999 namespace", false},
    {"axis1/integration/marrays/MArrayTest.wsdl", Rejected, "Could not resolve type urn:MArrayTests:Array3",
     "its schema is in the XML Schema 1999 namespace: a foreign element, skipped", false},
    {"axis1/integration/types/ComprehensiveTypes.wsdl", Rejected,
     "Could not resolve type urn:comprehensive-types2.types.wsdl.test:SimpleAnyURIType",
     "its schemas are in the XML Schema 1999 namespace: foreign elements, skipped", false},
    {"axis1/integration/union/UnionService.wsdl", Parses, "", "", false},
    {"axis1/integration/wrapped_choice/reportservice.wsdl", Parses, "", "", false},
    {"axis1/integration/xsd/good.wsdl", Parses, "", "", false},
    {"axis1/interop-mock/TerraService.wsdl", Parses, "", "", false},
    {"axis1/interop-mock/soap12-test.wsdl", Rejected, SchemaFails,
     "schema: xml:base refers to the XML namespace, which has no schema (and SOAP 1.2 only)", false},
    {"axis1/interop3/import3/Import3.wsdl", Rejected, "Invalid schema",
     "type SOAPStruct comes from a wsdl:import of another namespace, which is not followed", false},
    {"axis1/interop3/rpcEnc/InteropTestRpcEnc.wsdl", Parses, "", "", false},
    {"axis1/interop4/groupG/mime/rpc/mime-rpc.wsdl", Parses, "", "", false},
    {"axis1/interop4/groupH/complexRPCenc/complex-rpc-encoded.wsdl", Parses, "", "", false},
    {"axis1/interop4/groupi/round4XSD.wsdl", Parses, "", "", false},
    {"axis1/interop5/basetype/Round5BaseTypes.wsdl", Parses, "", "", false},
    {"axis1/test/import2/service1/service2/testimport.wsdl", NoSoap11, "",
     "its bindings are in a wsdl:import of another namespace, which is not followed", false},
    {"axis1/test/import3/MultiImpIncl/wsdl/MultiImp.wsdl", Rejected,
     "Could not resolve element http://www.axsone.com/webdemo/exec/schemas/session:Session",
     "its schemas come by wsdl:import of other namespaces, which is not followed", false},
    {"derived-malformed/TrackService_v16_truncated.wsdl", Rejected, "Xml Parser Exception : Unexpected EOF",
     "truncated", false},
    {"derived-malformed/blz_service_latin1_bytes.wsdl", Parses, "", "the reader takes bytes as characters and "
     "checks no UTF-8 (the stray bytes are in a comment)", false},
    {"derived-malformed/telefonkatalogen_utf16le_bom.wsdl", Rejected,
     "Xml Parser Exception : UTF-16 input is not supported", "UTF-16 is refused", false},
    {"exchange-ews/Services.wsdl", Rejected, SchemaFails,
     "schema: xml:lang refers to the XML namespace, imported without a location", false},
    {"nfe-br/wsdl/BA_NfeAutorizacaoLote.wsdl", Parses, "", "", false},
    {"nfe-br/wsdl/MT_nfeAutorizacaoLote.wsdl", NoSoap11, "", "SOAP 1.2 only", false},
    {"nfe-br/wsdl/RS_nfeRetAutorizacaoLote.wsdl", NoSoap11, "", "SOAP 1.2 only", false},
    {"onvif-local/events.wsdl", Rejected, "Unknown port type SubscriptionManager",
     "the port types come by wsdl:import of another namespace, which is not followed", false},
    {"onvif/wsdl/ver10/device/wsdl/devicemgmt.wsdl", Rejected, SchemaFails, Https, true},
    {"onvif/wsdl/ver10/events/wsdl/event.wsdl", Rejected, SchemaFails, Https, true},
    {"onvif/wsdl/ver20/analytics/wsdl/analytics.wsdl", Rejected, SchemaFails, Https, true},
    {"onvif/wsdl/ver20/ptz/wsdl/ptz.wsdl", Rejected, SchemaFails, Https, true},
    {"savon/awse.wsdl", Parses, "", "", false},
    {"savon/betfair.wsdl", Parses, "", "", false},
    {"savon/blz_service.wsdl", Parses, "", "", false},
    {"savon/data_exchange.wsdl", Rejected, "Could not resolve type :YFUDataExchange",
     "an unprefixed part type that no schema defines", false},
    {"savon/economic.wsdl", Parses, "", "", false},
    {"savon/edialog.wsdl", Parses, "", "", false},
    {"savon/interhome.wsdl", Parses, "", "", false},
    {"savon/jira.wsdl", Parses, "", "", false},
    {"savon/juniper.wsdl", Rejected, SchemaFails, "a schema location that is not in the corpus", false},
    {"savon/no_message_tag.xml", Rejected, "Xml Parser Exception : PI must not start with xml",
     "a line before the XML declaration", false},
    {"savon/oracle.wsdl", Rejected, "Wsdl Parser Exception : Syntax error at ",
     "an extensibility element before the input of a port type operation", false},
    {"savon/rpc_literal.wsdl", Parses, "", "", false},
    {"savon/team_software/team_software.wsdl", Rejected, SchemaFails, Https, true},
    {"savon/telefonkatalogen.wsdl", Parses, "", "", false},
    {"travelport/air_v52_0/Air.wsdl", Rejected, "Error in the included wsdl AirAbstract.wsdl",
     "the imported AirAbstract.wsdl takes SessionContext from a wsdl:import of another namespace, not followed", false},
    {"travelport/system_v32_0/System.wsdl", Parses, "", "", false},
    {"travelport/vehicle_v52_0/Vehicle.wsdl", Rejected, "Error in the included wsdl VehicleAbstract.wsdl",
     "as Air.wsdl", false},
    {"wasabi/external_schemas_test/wsdl_with_external_schemas.xml", Parses, "", "", false},
    {"wasabi/pos_gateway/pos_gateway.wsdl", Rejected, SchemaFails, Https, true},
    {"wasabi/pos_gateway/pos_gateway2.wsdl", Rejected, SchemaFails, Https, true},
    {"wasabi/responsys/wsdl/responsys.wsdl", Parses, "", "", false},
    {"wasabi/tradetracker.wsdl", Parses, "", "", false},
    {"wasabi/types_with_same_name_in_separate_namespaces.wsdl", Rejected,
     "Could not resolve element http://example.com/actions:SaveResponse", "an element no schema declares", false},
    {"wasabi/workday.wsdl", Parses, "", "", false},
    {"xroad/error.wsdl", Rejected, SchemaFails, "imports a schema by a URL the corpus does not hold", true},
    {"xroad/invalid.wsdl", Rejected, "Xml Parser Exception : text not allowed outside root element", "not XML", false},
    {"xroad/valid.wsdl", Rejected, SchemaFails, "imports a schema by a URL the corpus does not hold", true},
    {"xroad/xxe.wsdl", Rejected, "Doc Declaration ??", "a document type declaration is refused", false},
    {"zeep/integration/recursive_schema_main.wsdl", Parses, "",
     "an empty port type and a binding without operations: nothing to generate, but nothing wrong", false},
    {"zeep/integration/test_http_post.wsdl", NoSoap11, "", "HTTP binding only", false},
    {"zeep/wsdl_files/soap_header.wsdl", Parses, "", "", false},
    {"zeep/wsdl_files/soap_import_main.wsdl", Rejected, "Unknown port type StockQuotePortType",
     "the port type comes by wsdl:import of another namespace, which is not followed", false},
};

std::vector<std::string> tsvFields(const std::string& line)
{
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    for (;;) {
        const std::string::size_type tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

std::vector<std::vector<std::string>> readTsv(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::vector<std::string>> rows;
    std::string line;
    std::getline(in, line); // the heading
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            rows.push_back(tsvFields(line));
    }
    return rows;
}

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

bool hasSoap11Binding(const WsdlParser& parser)
{
    for (const auto& binding : parser.getBindings()) {
        if (binding->getProtocolNamespace() == SoapBindingUri)
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

// The golden summaries: path, the summary's seven columns, and a note that
// must say why when the unresolved count is not zero. With the variable set
// the test writes the file anew from what it parsed, keeping the notes.
const std::string SummaryFile = KELVANE_SOURCE_DIR "/tests/wsdl/corpus-summary.tsv";
const char* const SummaryHeading = "path\tschemas\tmessages\tparts\toperations\tbindings\tports\tunresolved\tnote";
const char* const RegenerateVariable = "KELVANE_REGENERATE_CORPUS_SUMMARY";
constexpr std::size_t SummaryColumns = 7;

class WsdlParseCorpusTest : public WsdlParseTest {
protected:
    WsdlParseCorpusTest() : proxy_(server_.port())
    {
        for (const auto& row : readTsv(CorpusFolder + "URLMAP.tsv")) {
            if (row.size() >= 2)
                server_.serve(row[0], {200, testsupport::readBytes(CorpusFolder + row[1])});
        }
        for (auto& row : readTsv(SummaryFile)) {
            row.resize(SummaryColumns + 2);
            golden_[row[0]] = row;
        }
    }

    void check(const Entry& entry)
    {
        const int requestsBefore = server_.totalRequests();
        diagnostics_.str("");
        {
            // Schemas imported by schemas report to the standard output.
            const ScopedStreamBuffer reports(std::cout, diagnostics_.rdbuf());
            try {
                parseLocation(CorpusFolder + entry.path);
            } catch (const WsdlException& failure) {
                FAIL() << "constructor: " << failure.description;
            }
        }
        const std::string messages = diagnostics_.str();
        switch (entry.outcome) {
        case Parses:
        case NoSoap11:
            EXPECT_FALSE(parser_->hasError()) << messages;
            EXPECT_EQ(entry.outcome == Parses, hasSoap11Binding(*parser_));
            EXPECT_EQ(entry.outcome == NoSoap11, messages.find("No SOAP 1.1 binding") != std::string::npos)
                << messages;
            compareSummary(entry.path);
            break;
        case Rejected:
            EXPECT_TRUE(parser_->hasError());
            EXPECT_NE(messages.find(entry.message), std::string::npos) << messages;
            // The last line says where the parse ended.
            EXPECT_TRUE(endsWithPosition(messages)) << messages;
            EXPECT_EQ(0u, golden_.count(entry.path)) << "a summary for a document that does not parse";
            break;
        }
        EXPECT_EQ(server_.totalRequests() > requestsBefore, entry.remote);
    }

    void compareSummary(const std::string& path)
    {
        std::vector<std::string> unresolved;
        std::vector<std::string> row = summaryOf(*parser_, unresolved);
        row.insert(row.begin(), path);
        const auto golden = golden_.find(path);
        const std::string note = golden != golden_.end() ? golden->second.back() : std::string();
        row.push_back(row[SummaryColumns] != "0" ? note : std::string());
        if (std::getenv(RegenerateVariable) != nullptr)
            regenerated_.push_back(row);
        else if (golden == golden_.end())
            ADD_FAILURE() << "no summary in " << SummaryFile << "; set " << RegenerateVariable << " to write it";
        else
            EXPECT_EQ(golden->second, row) << "path, schemas, messages, parts, operations, bindings, ports, unresolved";
        std::string names;
        for (const std::string& name : unresolved)
            names += "\n  " + name;
        EXPECT_TRUE(unresolved.empty() || !row.back().empty()) << "unresolved, and the summary says not why:" << names;
    }

    void TearDown() override
    {
        WsdlParseTest::TearDown();
        if (regenerated_.empty())
            return;
        std::ofstream out(SummaryFile, std::ios::binary);
        out << SummaryHeading << '\n';
        for (const auto& row : regenerated_) {
            for (std::size_t i = 0; i < row.size(); ++i)
                out << (i == 0 ? "" : "\t") << row[i];
            out << '\n';
        }
    }

    testsupport::LoopbackHttpServer server_;
    testsupport::ProxyEnvironment proxy_;
    std::map<std::string, std::vector<std::string>> golden_;
    std::vector<std::vector<std::string>> regenerated_;
};

TEST(WsdlParseCorpusTableTest, TheTableHoldsEveryEntryPointOfTheManifest)
{
    std::set<std::string> manifest;
    for (const auto& row : readTsv(CorpusFolder + "MANIFEST.tsv")) {
        if (row.size() >= 9 && row[8].find("ENTRY POINT") != std::string::npos)
            manifest.insert(row[0]);
    }
    std::set<std::string> table;
    for (const Entry& entry : Entries)
        EXPECT_TRUE(table.insert(entry.path).second) << "twice: " << entry.path;
    EXPECT_EQ(table, manifest);
}

// An entry expected to parse must parse to the model its summary records.
TEST_F(WsdlParseCorpusTest, EveryEntryPointParsesOrEndsWithAClearMessage)
{
    for (const Entry& entry : Entries) {
#ifdef _WIN32
        if (entry.remote)
            continue;
#endif
        SCOPED_TRACE(std::string(entry.path) + (entry.rule[0] != '\0' ? std::string(": ") + entry.rule : ""));
        check(entry);
    }
}

#ifndef _WIN32
TEST_F(WsdlParseCorpusTest, AbsoluteImportsComeFromTheCorpusAndHttpsFailsCleanly)
{
    const std::string xmlSchema = "http://www.w3.org/2001/xml.xsd";
    const auto document = [](const std::string& location) {
        return definitions("<types><xsd:schema targetNamespace=\"urn:t\" "
                           "xmlns:xml=\"http://www.w3.org/XML/1998/namespace\">"
                           "<xsd:import namespace=\"http://www.w3.org/XML/1998/namespace\" schemaLocation=\"" +
                           location +
                           "\"/><xsd:complexType name=\"Text\"><xsd:attribute ref=\"xml:lang\"/></xsd:complexType>"
                           "</xsd:schema></types>\n" +
                           calculatorPortType() + calculatorBinding());
    };
    parse(document(xmlSchema));
    expectSuccess();
    EXPECT_EQ(server_.requestCount(xmlSchema), 1);

    const std::string secure = "https://www.w3.org/2001/xml.xsd";
    parse(document(secure));
    expectFailure("could not import namespace from location " + secure);
    expectFailure(fatal("Error parsing schema types for urn:t"));
}
#endif

} // namespace
