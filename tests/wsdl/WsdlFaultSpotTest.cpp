// Every message of a parse names the document and the spot of what it is
// about, "document:line:column: message", in the described document and in
// the ones it imports: the whole report of each bad description, exactly.

#include "WsdlParseTestSupport.h"
#include "support/LoopbackHttpServer.h"

#include <list>
#include <utility>
#include <vector>

using namespace Wsdl;
using namespace wsdltest;

namespace {

class WsdlFaultSpotTest : public WsdlParseTest {
protected:
    testsupport::LoopbackHttpServer server_;
};

std::string schemaOf(const std::string& ns, const std::string& body)
{
    return "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" xmlns:o=\"" + ns + "\" targetNamespace=\"" + ns +
        "\">\n" + body + "</xs:schema>\n";
}

// The body of definitions starts on line 6.
TEST_F(WsdlFaultSpotTest, EachFaultIsReportedWhereItIsWritten)
{
    const std::string messages = "<message name=\"AddIn\"><part name=\"a\" type=\"xsd:int\"/></message>\n"
                                 "<message name=\"AddOut\"><part name=\"sum\" type=\"xsd:int\"/></message>\n";
    const std::string refused = "http://127.0.0.1:" + std::to_string(server_.closedPort()) + "/a.wsdl";
    const std::string gone = server_.url("/gone.wsdl");
    struct Case {
        const char* name;
        std::vector<std::pair<std::string, std::string>> files; // beside doc.wsdl
        std::string body;
        std::string report;
    };
    const Case cases[] = {
        {"a type reference nothing defines", {},
         "<types>\n<xsd:schema targetNamespace=\"urn:t\">\n<xsd:element name=\"E\" type=\"tns:Nope\"/>\n"
         "</xsd:schema>\n</types>\n",
         "doc.wsdl:8:40: Could not find {urn:t}:Nope\n"
         "doc.wsdl:10:9: Unresolved types in namespace urn:t\n"
         "doc.wsdl:10:9: Wsdl Parser Exception : Invalid schema\n"},
        {"a type reference of an imported schema nothing defines",
         {{"other.xsd", schemaOf("urn:o", "<xs:complexType name=\"T\">\n"
                                          "<xs:sequence><xs:element name=\"a\" type=\"o:Missing\"/></xs:sequence>\n"
                                          "</xs:complexType>\n")}},
         "<types>\n<xsd:schema targetNamespace=\"urn:t\">\n"
         "<xsd:import namespace=\"urn:o\" schemaLocation=\"other.xsd\"/>\n</xsd:schema>\n</types>\n",
         "other.xsd:3:53: Could not find {urn:o}:Missing\n"
         "other.xsd: Unresolved types in namespace urn:o\n"
         "doc.wsdl:10:9: Wsdl Parser Exception : Invalid schema\n"},
        {"a tag out of place in an imported schema",
         {{"other.xsd", schemaOf("urn:o", "<xs:complexType name=\"T\">\n  <xs:foo/>\n</xs:complexType>\n")}},
         "<types>\n<xsd:schema targetNamespace=\"urn:t\">\n"
         "<xsd:import namespace=\"urn:o\" schemaLocation=\"other.xsd\"/>\n</xsd:schema>\n</types>\n",
         "other.xsd:3:12: Schema Parser Exception : Unexpected tag: 'foo' in T\n"
         "doc.wsdl:8:59: Schema Parser Exception : Error while parsing imported namespace urn:o\n"
         "doc.wsdl:8:59: Wsdl Parser Exception : Error parsing schema types for urn:t\n"},
        {"a prefix nothing binds", {},
         messages + "<portType name=\"Calc\">\n<operation name=\"Add\"><input wsaw:Action=\"x\" message=\"tns:AddIn\"/>"
                    "</operation></portType>\n",
         "doc.wsdl:9:67: Xml Parser Exception : Undefined Prefix: wsaw in input\n"},
        {"a message nothing defines", {},
         messages + "<portType name=\"Calc\">\n<operation name=\"Add\"><input message=\"tns:AddIn\"/>"
                    "<output message=\"tns:Gone\"/></operation></portType>\n",
         "doc.wsdl:9:79: Wsdl Parser Exception : Unknown message Gone\n"},
        {"a message nothing defines, named twice", {},
         messages + "<portType name=\"Calc\">\n<operation name=\"Add\"><input message=\"tns:Gone\"/></operation>\n"
                    "<operation name=\"Sub\"><input message=\"tns:Gone\"/></operation></portType>\n",
         "doc.wsdl:9:50: Wsdl Parser Exception : Unknown message Gone\n"},
        {"a message nothing defines, after one named before its definition", {},
         "<portType name=\"Calc\">\n<operation name=\"Add\"><input message=\"tns:AddIn\"/></operation></portType>\n" +
             messages + "<portType name=\"More\">\n<operation name=\"Sub\"><input message=\"tns:Gone\"/></operation></portType>\n",
         "doc.wsdl:11:50: Wsdl Parser Exception : Unknown message Gone\n"},
        {"a port type nothing defines", {}, messages + calculatorBinding(), "doc.wsdl:8:42: Wsdl Parser Exception : Unknown port type Calc\n"},
        {"a binding nothing defines", {}, messages + calculatorPortType() + calculatorService(), "doc.wsdl:9:74: Wsdl Parser Exception : Unknown binding CalcSoap\n"},
        {"a part type nothing defines", {}, "<message name=\"AddIn\">\n<part name=\"a\" type=\"tns:Gone\"/></message>\n",
         "doc.wsdl:7:33: Wsdl Parser Exception : Could not resolve type urn:t:Gone\n"},
        {"a message nothing defines, named in an imported document",
         {{"abstract.wsdl", definitions(messages + "<portType name=\"Calc\">\n<operation name=\"Add\">"
                                                   "<input message=\"tns:Gone\"/></operation></portType>\n")}},
         "<import namespace=\"urn:t\" location=\"abstract.wsdl\"/>\n", "abstract.wsdl:9:50: Wsdl Parser Exception : Unknown message Gone\n"},
        {"a fault in an imported document",
         {{"abstract.wsdl", definitions("<message name=\"AddIn\">\n<part name=\"a\" type=\"tns:Nope\"/></message>\n")}},
         "\n<import namespace=\"urn:t\" location=\"abstract.wsdl\"/>\n", "abstract.wsdl:7:33: Wsdl Parser Exception : Could not resolve type urn:t:Nope\n"
         "doc.wsdl:7:53: Wsdl Parser Exception : Error in the included wsdl abstract.wsdl\n"},
        {"an import refused", {}, "<import namespace=\"urn:t\" location=\"" + refused + "\"/>\n", "doc.wsdl:6:" + std::to_string(40 + refused.size()) +
             ": Wsdl Parser Exception : Error while opening the included wsdl " + refused + ": connection refused\n"},
        {"an import not found", {}, "<import namespace=\"urn:t\" location=\"" + gone + "\"/>\n", "doc.wsdl:6:" + std::to_string(40 + gone.size()) +
             ": Wsdl Parser Exception : Error while opening the included wsdl " + gone + ": HTTP 404 Not Found\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        diagnostics_.str("");
        for (const auto& file : c.files)
            write(file.first, file.second);
        parse(definitions(c.body));
        EXPECT_TRUE(parser_->hasError());
        EXPECT_EQ(diagnostics_.str(), c.report);
    }
}

// A reference the rest of the description settles is no fault: a binding
// defined after the service whose port names it serves that port.
TEST_F(WsdlFaultSpotTest, ABindingDefinedAfterItsPortServesIt)
{
    parse(definitions(calculatorMessages() + calculatorPortType() + calculatorService() + calculatorBinding()));
    expectSuccess();
    ASSERT_EQ(parser_->getServices().size(), 1u);
    const Service& service = *parser_->getServices().front();
    const Binding* binding = nth(parser_->getBindings(), 0);
    ASSERT_EQ(service.getPorts().size(), 1u);
    EXPECT_EQ(service.getPorts().front().binding, binding);
    EXPECT_EQ(binding->getServices(), std::list<Service*>{parser_->getServices().front().get()});
    EXPECT_EQ(diagnostics_.str(), "");
}

// What the reader passes over it says, where it stands, and reads on.
TEST_F(WsdlFaultSpotTest, NoticesNameTheirSpotAndTheParseGoesOn)
{
    std::string messages = calculatorMessages();
    messages.insert(messages.find("/>"), " nillable=\"true\"");
    std::string portType = calculatorPortType();
    portType.insert(portType.find(">"), " xmlns:x=\"urn:x\" x:mark=\"1\" kind=\"2\"");
    parse(definitions(messages + portType + calculatorBinding() + calculatorService()));
    expectSuccess();
    EXPECT_EQ(diagnostics_.str(), "doc.wsdl:6:70: Attribute nillable is not allowed on <part>: ignored\n"
                                  "doc.wsdl:8:59: Attribute kind is not allowed on <portType>: ignored\n");
}

} // namespace
