// The parse driver: the element kinds that parse returns call by call, the
// end of every parse, the elements around the model (documentation,
// extensibility elements, imports) and every fatal error it reports.

#include "WsdlParseTestSupport.h"
#include "support/LoopbackHttpServer.h"
#include "schema/SchemaParser.h"
#include "wsdl/SoapExtension.h"


using namespace Wsdl;
using namespace wsdltest;

namespace {

class WsdlParseDriverTest : public WsdlParseTest {};

// What is not part of the model is passed over; the end is final.
TEST_F(WsdlParseDriverTest, ElementsAroundTheModelArePassedOver)
{
    const std::string cases[] = {
        "<import namespace=\"urn:other\" location=\"nowhere.wsdl\"/>", // another namespace: not followed
        "<annotation><x>y</x></annotation>",
        "<f:ext xmlns:f=\"urn:f\"><f:in><f:deeper/></f:in></f:ext>",
        "<soap:address location=\"http://h/\"/>",
        "<!-- c --><?pi x?>",
    };
    for (const std::string& around : cases) {
        SCOPED_TRACE(around);
        diagnostics_.str("");
        parse(definitions(around + calculatorPortType() + around));
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
    EXPECT_NE(text.find("No SOAP 1.1 binding (http://schemas.xmlsoap.org/wsdl/soap/) in the document"),
              std::string::npos);
}

TEST_F(WsdlParseDriverTest, DocumentsWithoutASoap11BindingParseWithANotice)
{
    const std::string notice = "No SOAP 1.1 binding (http://schemas.xmlsoap.org/wsdl/soap/) in the document: "
                               "no operation can be generated\n";
    struct Case {
        const char* name;
        std::string body;
    };
    const Case cases[] = {
        {"no binding", calculatorPortType()},
        {"a SOAP 1.2 binding",
         calculatorPortType() +
             "<binding name=\"B\" type=\"tns:Calc\" xmlns:s12=\"http://schemas.xmlsoap.org/wsdl/soap12/\">"
             "<s12:binding transport=\"http://schemas.xmlsoap.org/soap/http\"/><operation name=\"Add\">"
             "<s12:operation soapAction=\"\"/><input><s12:body use=\"literal\"/></input></operation></binding>"},
        {"an HTTP binding",
         calculatorPortType() +
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
    std::string doctype = calculator();
    doctype.insert(doctype.find('\n') + 1, "<!DOCTYPE definitions [ <!ENTITY e SYSTEM \"file:///etc/passwd\"> ]>\n");
    struct Case {
        const char* name;
        std::string document;
        std::string message;
    };
    const Case cases[] = {
        {"a WSDL tag of no known kind", definitions("<message name=\"M\"/>\n<wsdl:foo xmlns:wsdl=\"http://schemas.xmlsoap.org/wsdl/\"/>"),
         fatal("Unknown Tag foo") + "7,"},
        {"an XML Schema tag of no known kind", definitions("<xsd:element name=\"e\"/>"), fatal("Unknown Tag element") + "6,"},
        {"a document type declaration", doctype, fatal("Doc Declaration ??") + "2,"},
        {"the document ends before definitions", "<message xmlns=\"http://schemas.xmlsoap.org/wsdl/\" name=\"M\"/>",
         fatal("Unknown Wsdl tag") + "1,"},
        {"a part outside a message", definitions("<part name=\"p\" type=\"xsd:int\"/>"), fatal("Syntax error") + "6,"},
        {"a schema outside types", definitions("<xsd:schema targetNamespace=\"urn:t\"/>"), fatal("Syntax error") + "6,"},
        {"an operation outside a port type", definitions("<operation name=\"o\"/>"), fatal("Syntax error") + "6,"},
        // The pull parser's errors are logged as well.
        {"an element that is never closed", definitions("<message name=\"M\">\n"),
         "Xml Parser Exception : expected: message at 7,"},
        {"an empty document", "", "Xml Parser Exception : no root element at 1,"},
        {"text outside the root", "junk", "Xml Parser Exception : text not allowed outside root element at 1,"},
        {"UTF-16", std::string("\xFF\xFE<\0d\0", 6), "Xml Parser Exception : UTF-16 input is not supported at 1,"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        diagnostics_.str("");
        parse(c.document);
        expectFailure(c.message);
        EXPECT_EQ(results_.back(), WsdlParser::END);
        EXPECT_EQ(parser_->getElementKind(), WsdlParser::END);
        // One line, with the position at its end.
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
            EXPECT_EQ(failure.description, fatal("folder.wsdl could not be opened").substr(0, failure.description.size()));
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
    struct Case {
        const char* name;
        std::string body;
        std::vector<std::string> messages; // in this order
    };
    const Case cases[] = {
        {"no location", "<import namespace=\"urn:t\"/>", {fatal("location is a required attribute for <import>") + "6,"}},
        {"a document that cannot be fetched", importOf("missing.wsdl"),
         {fatal("Error while opening the included wsdl missing.wsdl") + "6,"}},
        {"an error in the imported document", "\n\n" + importOf("bad.wsdl"),
         {fatal("Could not resolve type urn:t:Nope") + "7,", fatal("Error in the included wsdl bad.wsdl") + "8,"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        diagnostics_.str("");
        parse(definitions(c.body + calculatorPortType()));
        std::string::size_type at = 0;
        for (const std::string& message : c.messages) {
            at = diagnostics_.str().find(message, at);
            EXPECT_NE(at, std::string::npos) << message << "\n" << diagnostics_.str();
        }
        EXPECT_TRUE(parser_->hasError());
        EXPECT_EQ(states_.back(), WsdlParser::END);
        EXPECT_TRUE(parser_->getImportedDocuments().empty());
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
