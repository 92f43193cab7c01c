// Every entry point of the corpus's manifest, parsed as Generate Code parses
// it: the documents with a SOAP 1.1 binding parse unless a rule of the parser
// refuses them (the table names the rule); every other one ends with a clear
// message. None crashes, hangs or leaks (the sanitizers watch the last two).
//
// Imports by absolute URL are served from the corpus as URLMAP.tsv maps them,
// by a loopback server that stands in as the proxy of every download; https
// addresses cannot be served that way and fail at once. Under Windows the
// entry points that fetch anything are left out.

#include "WsdlParseTestSupport.h"
#include "support/LoopbackHttpServer.h"
#include "support/ProxyEnvironment.h"

#include <fstream>
#include <iostream>
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

std::vector<std::vector<std::string>> readTsv(const std::string& name)
{
    std::ifstream in(CorpusFolder + name, std::ios::binary);
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

class WsdlParseCorpusTest : public WsdlParseTest {
protected:
    WsdlParseCorpusTest() : proxy_(server_.port())
    {
        for (const auto& row : readTsv("URLMAP.tsv")) {
            if (row.size() >= 2)
                server_.serve(row[0], {200, testsupport::readBytes(CorpusFolder + row[1])});
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
            EXPECT_FALSE(parser_->hasError()) << messages;
            EXPECT_TRUE(hasSoap11Binding(*parser_));
            break;
        case NoSoap11:
            EXPECT_FALSE(parser_->hasError()) << messages;
            EXPECT_FALSE(hasSoap11Binding(*parser_));
            EXPECT_NE(messages.find("No SOAP 1.1 binding"), std::string::npos) << messages;
            break;
        case Rejected:
            EXPECT_TRUE(parser_->hasError());
            EXPECT_NE(messages.find(entry.message), std::string::npos) << messages;
            // The last line says where the parse ended.
            EXPECT_TRUE(endsWithPosition(messages)) << messages;
            break;
        }
        EXPECT_EQ(server_.totalRequests() > requestsBefore, entry.remote);
    }

    testsupport::LoopbackHttpServer server_;
    testsupport::ProxyEnvironment proxy_;
};

TEST(WsdlParseCorpusTableTest, TheTableHoldsEveryEntryPointOfTheManifest)
{
    std::set<std::string> manifest;
    for (const auto& row : readTsv("MANIFEST.tsv")) {
        if (row.size() >= 9 && row[8].find("ENTRY POINT") != std::string::npos)
            manifest.insert(row[0]);
    }
    std::set<std::string> table;
    for (const Entry& entry : Entries)
        EXPECT_TRUE(table.insert(entry.path).second) << "twice: " << entry.path;
    EXPECT_EQ(table, manifest);
}

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
