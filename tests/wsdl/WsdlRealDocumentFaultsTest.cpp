// Valid WSDL 1.1 shapes met in real documents: references between the
// schemas of one types section, header messages defined after the binding,
// a namespace split over two schemas, operations with many faults and
// headers, the XML namespace, and where the messages of a parse go.

#include "WsdlParseTestSupport.h"
#include "schema/ComplexType.h"
#include "schema/ContentModel.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaParser.h"
#include "wsdl/SoapExtension.h"

#include <iostream>

using namespace Wsdl;
using namespace wsdltest;

namespace {

// Sends what std::cout receives into a string for the life of the object.
class CapturedStdout {
public:
    CapturedStdout() : saved_(std::cout.rdbuf(text_.rdbuf())) {}
    ~CapturedStdout() { std::cout.rdbuf(saved_); }
    CapturedStdout(const CapturedStdout&) = delete;
    CapturedStdout& operator=(const CapturedStdout&) = delete;
    std::string text() const { return text_.str(); }

private:
    std::ostringstream text_;
    std::streambuf* saved_;
};

// The schema of urn:items: element Item of complex type ItemType.
const std::string ItemsSchema = "<xsd:schema targetNamespace=\"urn:items\" xmlns:i=\"urn:items\">"
                                "<xsd:complexType name=\"ItemType\"><xsd:sequence>"
                                "<xsd:element name=\"n\" type=\"xsd:int\"/></xsd:sequence></xsd:complexType>"
                                "<xsd:element name=\"Item\" type=\"i:ItemType\"/></xsd:schema>\n";

const Schema::XsdType* typeOf(Schema::SchemaParser& schema, const std::string& ns, const std::string& name)
{
    return schema.getType(schema.getTypeId(qname(ns, name)));
}

const Schema::Element* firstParticle(Schema::SchemaParser& schema, const std::string& typeName)
{
    const auto* type = dynamic_cast<const Schema::ComplexType*>(typeOf(schema, schema.getNamespace(), typeName));
    if (type == nullptr || type->getContentModel() == nullptr || type->getContentModel()->getContents().empty())
        return nullptr;
    return type->getContentModel()->getContents().front().getElement();
}

class WsdlRealDocumentFaultsTest : public WsdlParseTest {
protected:
    Schema::SchemaParser& schemaOf(const std::string& ns)
    {
        for (int i = 2; i < 2 + parser_->getSchemaCount(); ++i) {
            if (parser_->getSchemaParser(i)->getNamespace() == ns)
                return *parser_->getSchemaParser(i);
        }
        ADD_FAILURE() << "no schema of " << ns;
        return *parser_->getSchemaParser(0);
    }
};

TEST_F(WsdlRealDocumentFaultsTest, ElementReferencesReachASiblingSchema)
{
    const std::string importItems = "<xsd:import namespace=\"urn:items\"/>";
    for (const bool imported : {true, false}) {
        for (const bool itemsFirst : {true, false}) {
            SCOPED_TRACE(std::string(imported ? "with" : "without") + " an import, items " +
                         (itemsFirst ? "first" : "second"));
            const std::string referring = "<xsd:schema targetNamespace=\"urn:orders\" xmlns:t=\"urn:items\">" +
                (imported ? importItems : std::string()) +
                "<xsd:complexType name=\"Order\"><xsd:sequence><xsd:element ref=\"t:Item\" maxOccurs=\"3\"/>"
                "</xsd:sequence></xsd:complexType></xsd:schema>\n";
            parse(definitions("<types>" + (itemsFirst ? ItemsSchema + referring : referring + ItemsSchema) +
                              "</types>\n<message name=\"M\" xmlns:t=\"urn:items\"><part name=\"p\" "
                              "element=\"t:Item\"/></message>\n" + calculatorMessages() + calculatorPortType() +
                              calculatorBinding()));
            expectSuccess();
            Schema::SchemaParser& items = schemaOf("urn:items");
            Schema::SchemaParser& orders = schemaOf("urn:orders");
            const Schema::Element* particle = firstParticle(orders, "Order");
            ASSERT_NE(particle, nullptr);
            EXPECT_FALSE(particle->isForwardRef());
            EXPECT_EQ(particle->getName(), "Item");
            EXPECT_EQ(particle->getMax(), 3);
            EXPECT_EQ(particle->getTypeNamespace(), "urn:items");
            const Schema::XsdType* itemType = typeOf(items, "urn:items", "ItemType");
            ASSERT_NE(itemType, nullptr);
            EXPECT_EQ(orders.getType(particle->getType()), itemType);
            // A part's type id is one of the schema its position names.
            const Part& part = parser_->getMessage(Schema::QualifiedName("M"))->getParts().front();
            EXPECT_EQ(parser_->getSchemaParser(part.getSchemaPosition())->getType(part.getType()), itemType);
        }
    }
}

TEST_F(WsdlRealDocumentFaultsTest, HeaderMessagesMayFollowTheBinding)
{
    std::string binding = calculatorBinding("document", "literal");
    binding.insert(binding.find("</input>"), "<soap:header message=\"tns:Auth\" part=\"token\" use=\"literal\"/>");
    parse(definitions("<message name=\"AddIn\"><part name=\"a\" type=\"xsd:int\"/></message>\n"
                      "<message name=\"AddOut\"><part name=\"sum\" type=\"xsd:int\"/></message>\n" +
                      calculatorPortType() + binding + calculatorService() +
                      "<message name=\"Auth\"><part name=\"user\" type=\"xsd:string\"/>"
                      "<part name=\"token\" type=\"xsd:string\"/></message>\n"));
    expectSuccess();
    const Binding& calc = *parser_->getBindings().front();
    const std::vector<int>& input = calc.getGroupIds(0, Binding::InputGroup);
    ASSERT_EQ(input.size(), 2u); // the body, then the header
    int partIndex = -7;
    Message* message = nullptr;
    ASSERT_TRUE(parser_->getSoapExtension()->getHeaderInfo(input[1], partIndex, message));
    ASSERT_NE(message, nullptr);
    EXPECT_EQ(message->getName(), "Auth");
    EXPECT_EQ(message->getNumParts(), 2);
    EXPECT_EQ(partIndex, 1);
    EXPECT_EQ(diagnostics_.str(), "");
}

TEST_F(WsdlRealDocumentFaultsTest, ReferencesToWhatExistsNowhereFailNamingIt)
{
    std::string binding = calculatorBinding();
    binding.insert(binding.find("</input>"), "<soap:header message=\"tns:Nowhere\" part=\"p\" use=\"literal\"/>");
    const std::string messages = "<message name=\"AddIn\"/><message name=\"AddOut\"/>\n";
    struct Case {
        const char* what;
        std::string body;
        std::vector<std::string> named;
    };
    const Case cases[] = {
        {"an element reference", "<types>" + ItemsSchema +
             "<xsd:schema targetNamespace=\"urn:orders\" xmlns:t=\"urn:items\"><xsd:complexType name=\"Order\">"
             "<xsd:sequence><xsd:element ref=\"t:Nowhere\"/></xsd:sequence></xsd:complexType></xsd:schema>"
             "</types>\n" + messages + calculatorPortType() + calculatorBinding(),
         {"Could not resolve element reference {urn:items}Nowhere", fatal("Invalid schema")}},
        {"an element reference to a namespace without schema",
         "<types><xsd:schema targetNamespace=\"urn:orders\" xmlns:t=\"urn:none\"><xsd:complexType name=\"Order\">"
         "<xsd:sequence><xsd:element ref=\"t:Item\"/></xsd:sequence></xsd:complexType></xsd:schema>"
         "</types>\n" + messages + calculatorPortType() + calculatorBinding(),
         {"Could not resolve element reference {urn:none}Item", fatal("Invalid schema")}},
        {"a header message", messages + calculatorPortType() + binding,
         {fatal("Unknown message Nowhere named by a soap:header")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        diagnostics_.str("");
        parse(definitions(c.body));
        for (const std::string& text : c.named)
            expectFailure(text);
    }
}

TEST_F(WsdlRealDocumentFaultsTest, EverySchemaOfASplitNamespaceIsSearched)
{
    const std::string firstHalf = "<xsd:schema targetNamespace=\"urn:a\" xmlns:a=\"urn:a\">"
                                  "<xsd:complexType name=\"First\"><xsd:sequence><xsd:element name=\"x\" "
                                  "type=\"xsd:int\"/></xsd:sequence></xsd:complexType>"
                                  "<xsd:element name=\"FirstElement\" type=\"xsd:date\"/></xsd:schema>\n";
    const std::string secondHalf = "<xsd:schema targetNamespace=\"urn:a\" xmlns:a=\"urn:a\">"
                                   "<xsd:complexType name=\"Second\"><xsd:sequence><xsd:element name=\"y\" "
                                   "type=\"a:First\"/></xsd:sequence></xsd:complexType></xsd:schema>\n";
    const auto third = [](const std::string& typeName) {
        return "<xsd:schema targetNamespace=\"urn:c\" xmlns:a=\"urn:a\"><xsd:import namespace=\"urn:a\"/>"
               "<xsd:complexType name=\"C\"><xsd:sequence><xsd:element ref=\"a:FirstElement\"/>"
               "<xsd:element name=\"f\" type=\"a:" + typeName + "\"/><xsd:element name=\"s\" type=\"a:Second\"/>"
               "</xsd:sequence></xsd:complexType></xsd:schema>\n";
    };
    parse(definitions("<types>" + firstHalf + secondHalf + third("First") + "</types>\n" + calculatorMessages() + calculatorPortType() +
                      calculatorBinding()));
    expectSuccess();
    Schema::SchemaParser& first = *parser_->getSchemaParser(2);
    Schema::SchemaParser& second = *parser_->getSchemaParser(3);
    Schema::SchemaParser& c = schemaOf("urn:c");
    const Schema::XsdType* firstType = typeOf(first, "urn:a", "First");
    ASSERT_NE(firstType, nullptr);
    EXPECT_EQ(second.getType(firstParticle(second, "Second")->getType()), firstType); // the halves see each other
    const auto* cType = dynamic_cast<const Schema::ComplexType*>(typeOf(c, "urn:c", "C"));
    ASSERT_NE(cType, nullptr);
    const auto& particles = cType->getContentModel()->getContents();
    ASSERT_EQ(particles.size(), 3u);
    EXPECT_EQ(particles[0].getElement()->getType(), Schema::XSD_DATE);
    EXPECT_EQ(c.getType(particles[1].getElement()->getType()), firstType);
    EXPECT_EQ(c.getType(particles[2].getElement()->getType()), typeOf(second, "urn:a", "Second"));

    diagnostics_.str("");
    parse(definitions("<types>" + firstHalf + secondHalf + third("Missing") + "</types>\n" + calculatorMessages() + calculatorPortType() +
                      calculatorBinding()));
    expectFailure("Undefined type a{urn:a}:Missing");
    expectFailure(fatal("Invalid schema"));
}

TEST_F(WsdlRealDocumentFaultsTest, OperationsKeepTenFaultsAndTenHeaders)
{
    const int count = 10;
    std::string messages = "<message name=\"AddIn\"><part name=\"a\" type=\"xsd:int\"/></message>"
                           "<message name=\"AddOut\"><part name=\"sum\" type=\"xsd:int\"/></message>\n";
    std::string faults;
    std::string headers;
    std::string boundFaults;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        messages += "<message name=\"H" + n + "\"><part name=\"p" + n + "\" type=\"xsd:string\"/></message>"
                    "<message name=\"F" + n + "\"><part name=\"d\" type=\"xsd:string\"/></message>\n";
        faults += "<fault name=\"f" + n + "\" message=\"tns:F" + n + "\"/>";
        headers += "<soap:header message=\"tns:H" + n + "\" part=\"p" + n + "\" use=\"literal\"/>";
        boundFaults += "<fault name=\"f" + n + "\"><soap:fault name=\"f" + n + "\" use=\"literal\"/></fault>";
    }
    std::string portType = calculatorPortType();
    portType.insert(portType.find("</operation>"), faults);
    std::string binding = calculatorBinding("document", "literal");
    binding.insert(binding.find("</input>"), headers);
    binding.insert(binding.find("</operation>\n</binding>"), boundFaults);
    parse(definitions(messages + portType + binding + calculatorService()));
    expectSuccess();

    const Binding& calc = *parser_->getBindings().front();
    ASSERT_EQ(calc.getOperation(0)->getFaults()->size(), static_cast<std::size_t>(count));
    const int* ids = nullptr;
    ASSERT_EQ(calc.getInputBinding(0, ids), count + 1);
    const SoapExtension& soap = *parser_->getSoapExtension();
    EXPECT_FALSE(soap.isSoapHeader(ids[0])); // the body
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(i);
        int partIndex = -7;
        Message* message = nullptr;
        ASSERT_TRUE(soap.getHeaderInfo(ids[i + 1], partIndex, message));
        EXPECT_EQ(message->getName(), "H" + std::to_string(i));
        EXPECT_EQ(partIndex, 0);
    }
    EXPECT_EQ(calc.getFaultBinding(0, ids), count);
    EXPECT_EQ(calc.getGroupIds(0, Binding::FaultGroup).size(), static_cast<std::size_t>(count));
    EXPECT_EQ(calc.getOpBinding(0, ids), 1);
    EXPECT_EQ(calc.getOutputBinding(0, ids), 1);
}

TEST_F(WsdlRealDocumentFaultsTest, TheXmlNamespaceIsAlwaysKnown)
{
    // A location is never fetched: this one would fail at once.
    const char* const imports[] = {
        "",
        "<xsd:import namespace=\"http://www.w3.org/XML/1998/namespace\"/>",
        "<xsd:import namespace=\"http://www.w3.org/XML/1998/namespace\" schemaLocation=\"http://127.0.0.1:1/xml.xsd\"/>",
    };
    for (const char* import : imports) {
        SCOPED_TRACE(import);
        parse(definitions("<types><xsd:schema targetNamespace=\"urn:t\">" + std::string(import) +
                          "<xsd:complexType name=\"Text\"><xsd:attribute ref=\"xml:lang\"/>"
                          "<xsd:attribute ref=\"xml:space\"/></xsd:complexType></xsd:schema></types>\n" +
                          calculatorMessages() + calculatorPortType() + calculatorBinding()));
        expectSuccess();
        Schema::SchemaParser& schema = *parser_->getSchemaParser(2);
        const auto* text = dynamic_cast<const Schema::ComplexType*>(typeOf(schema, "urn:t", "Text"));
        ASSERT_NE(text, nullptr);
        const Schema::Attribute* lang = text->getAttribute("lang");
        ASSERT_NE(lang, nullptr);
        EXPECT_TRUE(lang->isQualified());
        EXPECT_FALSE(lang->isForwardRef());
        EXPECT_EQ(lang->getType(), Schema::XSD_TOKEN);
        EXPECT_NE(text->getAttribute("space"), nullptr);
    }
    parse(definitions("<types><xsd:schema targetNamespace=\"urn:t\"><xsd:complexType name=\"Text\">"
                      "<xsd:attribute ref=\"xml:colour\"/></xsd:complexType></xsd:schema></types>\n"));
    expectFailure("Could not resolve attribute reference  {http://www.w3.org/XML/1998/namespace}colour");
}

// An imported schema and an imported WSDL document report into the caller's
// stream, naming themselves; the process's standard output stays empty.
TEST_F(WsdlRealDocumentFaultsTest, MessagesOfImportedDocumentsReachTheCallerNamingTheirDocument)
{
    write("lib/b.xsd", "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" targetNamespace=\"urn:b\">\n"
                       "  <xs:element name=\"E\" type=\"xs:int\" form=\"sometimes\"/>\n</xs:schema>\n");
    const std::string importing = "<types><xsd:schema targetNamespace=\"urn:t\">"
                                  "<xsd:import namespace=\"urn:b\" schemaLocation=\"lib/b.xsd\"/></xsd:schema></types>\n";
    {
        const CapturedStdout out;
        parse(definitions(importing + calculatorMessages() + calculatorPortType() + calculatorBinding()));
        EXPECT_EQ(out.text(), "");
    }
    expectSuccess();
    EXPECT_NE(diagnostics_.str().find("lib/b.xsd:2:56: Error: <element>:Invalid value for form in element E\n"),
              std::string::npos)
        << diagnostics_.str();

    diagnostics_.str("");
    write("part.wsdl", definitions("<message name=\"M\"><part name=\"p\" bogus=\"1\" type=\"tns:Nope\"/></message>\n"));
    {
        const CapturedStdout out;
        parse(definitions("<import namespace=\"urn:t\" location=\"part.wsdl\"/>\n"));
        EXPECT_EQ(out.text(), "");
    }
    EXPECT_TRUE(reportedAt(diagnostics_.str(), "Attribute bogus is not allowed on <part>: ignored", "part.wsdl", 6))
        << diagnostics_.str();
    expectFailure(fatal("Could not resolve type urn:t:Nope"));
    EXPECT_TRUE(reportedAt(diagnostics_.str(), "Could not resolve type urn:t:Nope", "part.wsdl", 6)) << diagnostics_.str();
    expectFailure(fatal("Error in the included wsdl part.wsdl"));
    EXPECT_TRUE(reportedAt(diagnostics_.str(), "Error in the included wsdl", "doc.wsdl", 6)) << diagnostics_.str();
}

TEST_F(WsdlRealDocumentFaultsTest, AnUnreadableExtensionSchemaFailsNamingIt)
{
    for (const char* file : {"wsdl10.xsd", "soap-encoding.xsd"})
        write(std::string("kit/") + file, testsupport::readBytes(builtInFolder() + file));
    write("doc.wsdl", calculator());
    parser_ = std::make_unique<WsdlParser>("doc.wsdl", diagnostics_, "kit");
    while (parser_->getState() != WsdlParser::END)
        parser_->parse();
    expectFailure(fatal("Could not read the built-in schema kit/soap.xsd"));
}

} // namespace
