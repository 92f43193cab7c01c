// The parse driver: the element kinds that parse returns call by call, the
// end of every parse, the elements around the model (documentation,
// extensibility elements, imports) and every fatal error it reports.

#include "WsdlParseTestSupport.h"
#include "support/LoopbackHttpServer.h"
#include "schema/SchemaParser.h"
#include "wsdl/SoapExtension.h"

#include <algorithm>

using namespace Wsdl;
using namespace wsdltest;

namespace {

class WsdlParseDriverTest : public WsdlParseTest {};

// What is not part of the model is passed over; the end is final.
TEST_F(WsdlParseDriverTest, ElementsAroundTheModelArePassedOver)
{
    const std::string cases[] = {
        "<import namespace=\"urn:other\"/>", // another namespace without a location: nothing to follow
        "<annotation><x>y</x></annotation>",
        "<f:ext xmlns:f=\"urn:f\"><f:in><f:deeper/></f:in></f:ext>",
        "<soap:address location=\"http://h/\"/>",
        "<!-- c --><?pi x?>",
    };
    for (const std::string& around : cases) {
        SCOPED_TRACE(around);
        diagnostics_.str("");
        parse(definitions(around + calculatorMessages() + calculatorPortType() + around));
        expectSuccess();
        WsdlParser::PortTypeList::const_iterator begin, end;
        ASSERT_TRUE(parser_->getPortTypes(begin, end));
        EXPECT_EQ((*begin)->getNumOps(), 1);
        EXPECT_EQ(parser_->parse(), WsdlParser::END);
        EXPECT_EQ(parser_->getState(), WsdlParser::END);
    }
}

TEST_F(WsdlParseDriverTest, TheSoapNamespaceDeclaredOnDefinitionsLoadsTheExtensionSchema)
{
    parse(calculator());
    SoapExtension* soap = parser_->getSoapExtension();
    EXPECT_EQ(soap->getNamespacePrefix(), "soap");
    ASSERT_NE(soap->getSchemaParser(), nullptr);
    EXPECT_EQ(parser_->getExtensionHandlers()[0].schema, soap->getSchemaParser());
    EXPECT_EQ(nth(parser_->getBindings(), 0)->getProtocolNamespace(), SoapBindingUri);

    // Declared only where it is used: no schema, every element reported, and
    // without a SOAP binding nothing can be generated.
    diagnostics_.str("");
    const std::string declaration = " xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\"";
    std::string local = calculator();
    local.erase(local.find(declaration.substr(1)), declaration.size());
    local.replace(local.find("<binding name=\"CalcSoap\""), 8, "<binding" + declaration);
    local.replace(local.find("<port "), 5, "<port" + declaration);
    parse(local, "local.wsdl");
    expectSuccess();
    soap = parser_->getSoapExtension();
    EXPECT_EQ(soap->getSchemaParser(), nullptr);
    EXPECT_EQ(soap->getStartId(), 0);
    EXPECT_EQ(nth(parser_->getBindings(), 0)->getProtocolNamespace(), "");
    const std::string text = diagnostics_.str();
    std::size_t reports = 0;
    for (std::size_t at = text.find("Soap Processing  Could not parse soap extensibility elements\n");
         at != std::string::npos; at = text.find("Soap Processing  Could not parse", at + 1))
        ++reports;
    EXPECT_EQ(reports, 5u) << text;
    EXPECT_NE(text.find("No SOAP binding (http://schemas.xmlsoap.org/wsdl/soap/ or "
                        "http://schemas.xmlsoap.org/wsdl/soap12/) in the document"),
              std::string::npos);
}

// The SOAP 1.2 binding namespace has a handler of its own, the second: its
// ids are the second block's, its schema "soap12.xsd", and its elements are
// read as the SOAP 1.1 ones are.
TEST_F(WsdlParseDriverTest, TheSoap12BindingIsReadByTheSecondHandler)
{
    std::string document = calculator();
    for (const std::string from : {"<soap:", "</soap:"}) {
        const std::string to = from.substr(0, from.size() - 1) + "12:";
        for (std::size_t at = document.find(from); at != std::string::npos; at = document.find(from, at + to.size()))
            document.replace(at, from.size(), to);
    }
    document.replace(document.find("xmlns:soap="), 11, "xmlns:soap12=");
    document.replace(document.find("/wsdl/soap/"), 11, "/wsdl/soap12/");
    document.replace(document.find("soapAction=\"urn:add\""), 20, "soapAction=\"urn:add\" soapActionRequired=\"true\"");
    parse(document);
    expectSuccess();
    EXPECT_EQ(diagnostics_.str(), "");
    SoapExtension* soap12 = parser_->getSoap12Extension();
    ASSERT_NE(soap12, nullptr);
    EXPECT_EQ(soap12->getVersion(), SoapExtension::Soap12);
    EXPECT_EQ(soap12->getNamespace(), Soap12BindingUri);
    EXPECT_EQ(soap12->getNamespacePrefix(), "soap12");
    EXPECT_EQ(soap12->getStartId(), WsdlParser::ElementIdBlockSize + 1);
    EXPECT_EQ(soap12->getExtensibilitySchema(), builtInFolder() + "soap12.xsd");
    EXPECT_EQ(parser_->getSoapExtension()->getStartId(), 0);
    const Binding* binding = nth(parser_->getBindings(), 0);
    EXPECT_EQ(binding->getProtocolNamespace(), Soap12BindingUri);
    const int* ids = nullptr;
    ASSERT_EQ(binding->getOpBinding(0, ids), 1);
    std::string action;
    int style = -1;
    ASSERT_TRUE(soap12->getOperationInfo(ids[0], action, style));
    EXPECT_EQ(action, "urn:add");
    EXPECT_EQ(style, SoapExtension::Rpc);
    EXPECT_EQ(parser_->getExtensionHandler(ids[0]), soap12);
    ASSERT_EQ(binding->getInputBinding(0, ids), 1);
    int use = 0;
    std::string encodingStyle, ns;
    ASSERT_TRUE(soap12->getBodyInfo(ids[0], use, encodingStyle, ns));
    EXPECT_EQ(use, 1);
    EXPECT_EQ(ns, "urn:t");
}

TEST_F(WsdlParseDriverTest, DocumentsWithoutASoapBindingParseWithANotice)
{
    const std::string notice = "doc.wsdl: No SOAP binding (http://schemas.xmlsoap.org/wsdl/soap/ or "
                               "http://schemas.xmlsoap.org/wsdl/soap12/) in the document: no operation can be generated\n";
    struct Case {
        const char* name;
        std::string body;
    };
    const Case cases[] = {
        {"no binding", calculatorMessages() + calculatorPortType()},
        {"an HTTP binding beside an unbound port type",
         calculatorMessages() + calculatorPortType() +
             "<binding name=\"B\" type=\"tns:Calc\" xmlns:http=\"http://schemas.xmlsoap.org/wsdl/http/\">"
             "<http:binding verb=\"POST\"/></binding>"},
        {"an HTTP binding",
         calculatorMessages() + calculatorPortType() +
             "<binding name=\"B\" type=\"tns:Calc\" xmlns:http=\"http://schemas.xmlsoap.org/wsdl/http/\">"
             "<http:binding verb=\"GET\"/><operation name=\"Add\"><http:operation location=\"/a\"/>"
             "<input><http:urlEncoded/></input></operation></binding>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        diagnostics_.str("");
        parse(definitions(c.body));
        expectSuccess();
        EXPECT_EQ(diagnostics_.str(), notice);
    }
    diagnostics_.str("");
    parse(calculator());
    EXPECT_EQ(diagnostics_.str(), "");
}

TEST_F(WsdlParseDriverTest, FatalErrorsEndTheParseWithTheirMessageAndPosition)
{
    const std::string rootRule =
        ": the root element of a WSDL 1.1 document is definitions in the namespace http://schemas.xmlsoap.org/wsdl/";
    std::string doctype = calculator();
    doctype.insert(doctype.find('\n') + 1, "<!DOCTYPE definitions [ <!ENTITY e SYSTEM \"file:///etc/passwd\"> ]>\n");
    struct Case {
        const char* name;
        std::string document;
        int line;
        std::string message;
    };
    const Case cases[] = {
        {"a WSDL tag of no known kind", definitions("<message name=\"M\"/>\n<wsdl:foo xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\"/>"),
         7, fatal("Unknown Tag foo")},
        {"an XML Schema tag of no known kind", definitions("<xsd:element name=\"e\"/>"), 6, fatal("Unknown Tag element")},
        {"a document type declaration", doctype, 2, fatal("Doc Declaration ??")},
        {"the document ends before definitions", "<message xmlns=\"http://schemas.xmlsoap.org/wsdl/\" name=\"M\"/>",
         1, fatal("Unknown Wsdl tag message (namespace http://schemas.xmlsoap.org/wsdl/)" + rootRule)},
        // Documents that are no WSDL: named at their root, with its namespace.
        {"the wsdl prefix bound to another namespace",
         "<?xml version=\"1.0\"?>\n<!-- a comment -->\n<wsdl:definitions xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/2\"\n"
         "  targetNamespace=\"urn:t\">\n<wsdl:message name=\"M\"/>\n</wsdl:definitions>\n",
         4, fatal("Unknown Wsdl tag wsdl:definitions (namespace http://schemas.xmlsoap.org/wsdl/2)" + rootRule)},
        {"an XML Schema given as the WSDL",
         "<?xml version=\"1.0\"?>\n<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\">\n"
         "<xs:element name=\"e\"/>\n</xs:schema>\n",
         2, fatal("Syntax error at xs:schema (namespace http://www.w3.org/2001/XMLSchema)" + rootRule)},
        {"an HTML page", "<html>\n<head><title>Not Found</title></head>\n<body>gone</body>\n</html>\n", 1,
         fatal("Unknown Wsdl tag html (no namespace)" + rootRule)},
        {"a part outside a message", definitions("<part name=\"p\" type=\"xsd:int\"/>"), 6,
         fatal("Syntax error at part (namespace http://schemas.xmlsoap.org/wsdl/): not allowed here")},
        {"a schema outside types", definitions("<xsd:schema targetNamespace=\"urn:t\"/>"), 6,
         fatal("Syntax error at xsd:schema (namespace http://www.w3.org/2001/XMLSchema): not allowed here")},
        {"an operation outside a port type", definitions("<operation name=\"o\"/>"), 6,
         fatal("Syntax error at operation (namespace http://schemas.xmlsoap.org/wsdl/): not allowed here")},
        // The pull parser's errors are logged as well.
        {"an element that is never closed", definitions("<message name=\"M\">\n"),
         7, ": Xml Parser Exception : expected: message\n"},
        {"an empty document", "", 1, ": Xml Parser Exception : no root element\n"},
        {"text outside the root", "junk", 1, ": Xml Parser Exception : text not allowed outside root element\n"},
        {"UTF-16", std::string("\xFF\xFE<\0d\0", 6), 1, ": Xml Parser Exception : UTF-16 input is not supported\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        diagnostics_.str("");
        parse(c.document);
        expectFailure(c.message);
        EXPECT_TRUE(reportedAt(diagnostics_.str(), c.message.substr(2), "doc.wsdl", c.line)) << diagnostics_.str();
        EXPECT_EQ(results_.back(), WsdlParser::END);
        EXPECT_EQ(parser_->getElementKind(), WsdlParser::END);
        // One line: the document, the position, the message.
        const std::string text = diagnostics_.str();
        EXPECT_TRUE(endsWithPosition(text) && text.find('\n') == text.size() - 1) << text;
    }
}

// A folder cannot be read as a document: the standard library says so by an
// exception of its own, which ends the parse like any other error.
TEST_F(WsdlParseDriverTest, AFolderGivenAsTheDocumentEndsWithAMessage)
{
    std::filesystem::create_directory("folder.wsdl");
    for (const std::string& location : {std::string("folder.wsdl"), std::string("doc.wsdl")}) {
        SCOPED_TRACE(location);
        write("doc.wsdl", definitions(calculatorPortType() + "<import namespace=\"urn:t\" location=\"folder.wsdl\"/>"));
        diagnostics_.str("");
        try {
            parseLocation(location);
        } catch (const WsdlException& failure) {
            // Where a folder cannot even be opened.
            EXPECT_NE(failure.description.find("folder.wsdl could not be opened: "), std::string::npos) << failure.description;
            continue;
        }
        EXPECT_TRUE(parser_->hasError());
        EXPECT_TRUE(endsWithPosition(diagnostics_.str())) << diagnostics_.str();
    }
}

// Imports of the target namespace: the imported document joins the model.
class WsdlParseImportTest : public WsdlParseTest {
protected:
    static std::string importOf(const std::string& location, const std::string& ns = "urn:t")
    {
        return "<import namespace=\"" + ns + "\" location=\"" + location + "\"/>\n";
    }
};

TEST_F(WsdlParseImportTest, AnImportedDocumentJoinsTheModelAndTheImporterReadsOn)
{
    std::string imported = definitions("<message name=\"AddIn\"><part name=\"a\" type=\"xsd:int\"/></message>\n"
                                       "<message name=\"AddOut\"><part name=\"sum\" type=\"xsd:int\"/></message>\n"
                                       "<documentation>theirs</documentation>" +
                                       calculatorPortType());
    imported.replace(imported.find("name=\"T\""), 8, "name=\"Imported\"");
    // The location is relative to the importing document, not to the current folder.
    write("svc/parts/messages.wsdl", imported);
    parse(definitions("<documentation>ours</documentation>" + importOf("parts/messages.wsdl") + calculatorBinding() +
                      calculatorService()),
          "svc/main.wsdl");
    expectSuccess();
    EXPECT_EQ(parser_->getMessages().size(), 2u);
    WsdlParser::PortTypeList::const_iterator begin, end;
    ASSERT_TRUE(parser_->getPortTypes(begin, end));
    EXPECT_EQ(nth(parser_->getBindings(), 0)->getPortType(), begin->get());
    EXPECT_EQ((*begin)->getNumOps(), 1);
    EXPECT_EQ(parser_->getImportedDocuments(),
              (std::vector<std::pair<std::string, std::string>>{{"parts/messages.wsdl", "urn:t"}}));
    // What describes the importing document stays its own.
    EXPECT_EQ(parser_->getName(), "T");
    ASSERT_NE(parser_->getDocumentation(), nullptr);
    EXPECT_EQ(*parser_->getDocumentation(), "ours");
}

TEST_F(WsdlParseImportTest, ImportsThatGoRoundEnd)
{
    const std::string service = calculatorPortType() + calculatorBinding() + calculatorService();
    const std::string messages = "<message name=\"AddIn\"><part name=\"a\" type=\"xsd:int\"/></message>\n"
                                 "<message name=\"AddOut\"><part name=\"sum\" type=\"xsd:int\"/></message>\n";
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> files; // the first is parsed
        std::size_t importedDocuments;
    };
    const Case cases[] = {
        {"a document that imports itself",
         {{"doc.wsdl", definitions(importOf("doc.wsdl") + importOf("./doc.wsdl") + messages + service)}}, 0},
        {"a document that imports itself by its folder",
         {{"sub/doc.wsdl", definitions(importOf("../sub/doc.wsdl") + messages + service)}}, 0},
        {"two documents that import each other",
         {{"a.wsdl", definitions(importOf("b.wsdl") + service)}, {"b.wsdl", definitions(importOf("a.wsdl") + messages)}},
         1},
        {"a document imported twice by way of two others",
         {{"a.wsdl", definitions(importOf("b.wsdl") + importOf("c.wsdl") + service)},
          {"b.wsdl", definitions(importOf("d.wsdl"))},
          {"c.wsdl", definitions(importOf("d.wsdl"))},
          {"d.wsdl", definitions(messages)}},
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& file : c.files)
            write(file.first, file.second);
        parseLocation(c.files.front().first);
        expectSuccess();
        EXPECT_EQ(parser_->getImportedDocuments().size(), c.importedDocuments);
        // Each message read once: no part is added twice.
        ASSERT_EQ(parser_->getMessages().size(), 2u);
        EXPECT_EQ(parser_->getMessages().front()->getNumParts(), 1);
        EXPECT_EQ(parser_->getMessages().back()->getNumParts(), 1);
    }
}

TEST_F(WsdlParseImportTest, ImportErrorsEndTheParse)
{
    write("bad.wsdl", definitions("<message name=\"M\">\n<part name=\"p\" type=\"tns:Nope\"/></message>"));
    struct Message {
        std::string document;
        int line;
        std::string text;
    };
    struct Case {
        const char* name;
        std::string body;
        std::vector<Message> messages; // in this order
    };
    const Case cases[] = {
        {"no location", "<import namespace=\"urn:t\"/>",
         {{"doc.wsdl", 6, fatal("location is a required attribute for <import>")}}},
        {"a document that cannot be fetched", importOf("missing.wsdl"),
         {{"doc.wsdl", 6, fatal("Error while opening the included wsdl missing.wsdl: file not found")}}},
        // At the fault in the imported document, then at the import.
        {"an error in the imported document", "\n\n" + importOf("bad.wsdl"),
         {{"bad.wsdl", 7, fatal("Could not resolve type urn:t:Nope")},
          {"doc.wsdl", 8, fatal("Error in the included wsdl bad.wsdl")}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        diagnostics_.str("");
        parse(definitions(c.body + calculatorPortType()));
        std::string::size_type at = 0;
        for (const Message& message : c.messages) {
            at = diagnostics_.str().find(message.text, at);
            EXPECT_NE(at, std::string::npos) << message.text << "\n" << diagnostics_.str();
            EXPECT_TRUE(reportedAt(diagnostics_.str(), message.text, message.document, message.line))
                << diagnostics_.str();
        }
        EXPECT_TRUE(parser_->hasError());
        EXPECT_EQ(states_.back(), WsdlParser::END);
        EXPECT_TRUE(parser_->getImportedDocuments().empty());
    }
}

// A service whose port type and messages live in a document of another
// namespace: the import is followed, each element keeps its namespace, and
// references resolve by namespace and name, also where both namespaces use
// the same local names.
TEST_F(WsdlParseImportTest, ADocumentOfAnotherNamespaceJoinsTheModelUnderItsOwn)
{
    std::string abstract = definitions("<message name=\"AddIn\"><part name=\"a\" type=\"xsd:int\"/></message>\n"
                                       "<message name=\"AddOut\"><part name=\"sum\" type=\"xsd:int\"/></message>\n" +
                                       calculatorPortType());
    for (const char* from : {"xmlns:tns=\"urn:t\" targetNamespace=\"urn:t\"", "name=\"T\""})
        abstract.replace(abstract.find(from), std::string(from).size(),
                         from[0] == 'x' ? "xmlns:tns=\"urn:abstract\" targetNamespace=\"urn:abstract\""
                                        : "name=\"Abstract\"");
    write("abstract.wsdl", abstract);
    write("types.xsd", "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" targetNamespace=\"urn:types\">"
                       "<xs:element name=\"Note\" type=\"xs:string\"/></xs:schema>");
    // This document has a port type of the same name: the binding names the other one.
    std::string binding = calculatorBinding();
    binding.replace(binding.find("type=\"tns:Calc\""), 15, "type=\"a:Calc\"");
    parse(definitions(importOf("abstract.wsdl", "urn:abstract") + importOf("types.xsd", "urn:types") +
                          "<message name=\"Local\"><part name=\"n\" element=\"n:Note\" xmlns:n=\"urn:types\"/></message>\n"
                          "<portType name=\"Calc\"/>\n" + binding + calculatorService(),
                      " xmlns:a=\"urn:abstract\""));
    expectSuccess();
    EXPECT_EQ(parser_->getImportedDocuments(),
              (std::vector<std::pair<std::string, std::string>>{{"abstract.wsdl", "urn:abstract"},
                                                                 {"types.xsd", "urn:types"}}));
    const Binding* calcSoap = nth(parser_->getBindings(), 0);
    ASSERT_NE(calcSoap, nullptr);
    ASSERT_NE(calcSoap->getPortType(), nullptr);
    EXPECT_EQ(calcSoap->getPortType()->getNamespace(), "urn:abstract");
    EXPECT_EQ(calcSoap->getPortType()->getNumOps(), 1);
    EXPECT_EQ(calcSoap->getNamespace(), "urn:t");
    const Message* in = parser_->getMessage(qname("urn:abstract", "AddIn"));
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(in->getNamespace(), "urn:abstract");
    EXPECT_EQ(in->getNumParts(), 1);
    EXPECT_EQ(parser_->getMessage(qname("urn:t", "AddIn")), nullptr);
    // The schema document imported by wsdl:import serves the part's element.
    const Message* local = parser_->getMessage(qname("urn:t", "Local"));
    ASSERT_NE(local, nullptr);
    EXPECT_EQ(local->getNumParts(), 1);
    EXPECT_EQ(parser_->getName(), "T");
    EXPECT_EQ(parser_->getNamespace(), "urn:t");
}

// Messages of one local name in two namespaces, one of them named by an
// operation before either is defined: each name finds its own message, a
// name without namespace the first one made, and one of a third namespace none.
TEST_F(WsdlParseImportTest, NamesakeMessagesOfTwoNamespacesEachFindTheirOwn)
{
    const std::string message = "<message name=\"M\"><part name=\"p\" type=\"xsd:int\"/></message>\n";
    std::string other = definitions(message + "<message name=\"OnlyThere\"/>\n");
    const std::string namespaceOfT = "xmlns:tns=\"urn:t\" targetNamespace=\"urn:t\"";
    other.replace(other.find(namespaceOfT), namespaceOfT.size(), "xmlns:tns=\"urn:o\" targetNamespace=\"urn:o\"");
    write("other.wsdl", other);
    const std::string operation = "<portType name=\"P\"><operation name=\"Op\"><input message=\"o:M\"/>"
                                  "<output message=\"tns:M\"/></operation></portType>\n";
    const std::string import = importOf("other.wsdl", "urn:o");
    const struct {
        const char* order;
        std::string body;
    } orders[] = {
        {"ours, theirs, named", message + import + operation},
        {"theirs, ours, named", import + message + operation},
        {"named, theirs, ours", operation + import + message},
        {"named, ours, theirs", operation + message + import},
    };
    for (const auto& order : orders) {
        SCOPED_TRACE(order.order);
        parse(definitions(order.body, " xmlns:o=\"urn:o\""));
        expectSuccess();
        ASSERT_EQ(parser_->getMessages().size(), 3u);
        const Message* ours = parser_->getMessage(qname("urn:t", "M"));
        const Message* theirs = parser_->getMessage(qname("urn:o", "M"));
        ASSERT_NE(ours, nullptr);
        ASSERT_NE(theirs, nullptr);
        EXPECT_NE(ours, theirs);
        EXPECT_EQ(ours->getNamespace(), "urn:t");
        EXPECT_EQ(theirs->getNamespace(), "urn:o");
        EXPECT_TRUE(ours->isDefined() && theirs->isDefined());
        const auto first = std::find_if(parser_->getMessages().begin(), parser_->getMessages().end(),
                                        [](const auto& made) { return made->getName() == "M"; });
        EXPECT_EQ(parser_->getMessage(Schema::QualifiedName("M")), first->get());
        EXPECT_EQ(parser_->getMessage(qname("urn:x", "M")), nullptr);
        EXPECT_EQ(parser_->getMessage(qname("urn:t", "OnlyThere")), nullptr);
        EXPECT_NE(parser_->getMessage(qname("urn:o", "OnlyThere")), nullptr);
        WsdlParser::PortTypeList::const_iterator begin, end;
        ASSERT_TRUE(parser_->getPortTypes(begin, end));
        const Operation* op = (*begin)->getOperation(0);
        ASSERT_NE(op, nullptr);
        EXPECT_EQ(op->getInput(), theirs);
        EXPECT_EQ(op->getOutput(), ours);
    }
}

TEST_F(WsdlParseImportTest, ImportsNestedWithoutEndStopAtADepth)
{
    const int documents = 40;
    for (int i = 0; i < documents; ++i)
        write("d" + std::to_string(i) + ".wsdl", definitions(importOf("d" + std::to_string(i + 1) + ".wsdl")));
    parseLocation("d0.wsdl");
    expectFailure(fatal("Imports nested too deeply at d33.wsdl"));
    EXPECT_EQ(parser_->getImportedDocuments().size(), 0u);
}

TEST_F(WsdlParseImportTest, ARelativeImportOfADownloadedDocumentIsDownloadedBesideIt)
{
    testsupport::LoopbackHttpServer server;
    server.serve("/dir/main.wsdl",
                 {200, definitions(importOf("part.wsdl") + calculatorBinding() + calculatorService())});
    server.serve("/dir/part.wsdl",
                 {200, definitions("<message name=\"AddIn\"/><message name=\"AddOut\"/>" + calculatorPortType())});
    parseLocation(server.url("/dir/main.wsdl"));
    expectSuccess();
    EXPECT_EQ(server.requestCount("/dir/part.wsdl"), 1);
    EXPECT_EQ(parser_->getMessages().size(), 2u);
    const Operation* operation = nth(parser_->getBindings(), 0)->getOperation(0);
    ASSERT_NE(operation, nullptr);
    EXPECT_EQ(operation->getName(), "Add");
}

} // namespace
