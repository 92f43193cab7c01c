// The request the "call the service" window starts from: the calculator's Add whole, each kind of
// content model's sample, and an rpc operation of a SOAP 1.2 binding.

#include "GeneratorTestSupport.h"
#include "generator/sample/SampleRequest.h"

using namespace gentest;

namespace {

class SampleRequestTest : public GeneratorTest {
protected:
    const CViewOperation& operation(CServiceView& v, const std::string& name)
    {
        for (const CViewPortType& portType : v.portTypes())
            for (const CViewOperation& op : portType.operations)
                if (op.name == name)
                    return op;
        ADD_FAILURE() << "no operation " << name;
        return v.portTypes().front().operations.front();
    }
    // The lines between <soap:Body> and </soap:Body>.
    static std::string body(const std::string& envelope)
    {
        const std::size_t begin = envelope.find("<soap:Body>\n") + 12;
        return envelope.substr(begin, envelope.find("  </soap:Body>") - begin);
    }
};

TEST_F(SampleRequestTest, TheCalculatorsAddIsAQualifiedDocumentOfTwoNumbers)
{
    CServiceView& v = viewLocation(KELVANE_SOURCE_DIR "/runtime/example/calculator.wsdl");
    const CSampleRequest request = sampleRequest(operation(v, "Add"));
    EXPECT_EQ(request.envelope,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
              "xmlns:ns1=\"urn:kelvane:calculator\">\n"
              "  <soap:Body>\n"
              "    <ns1:Add>\n"
              "      <ns1:a>1</ns1:a>\n"
              "      <ns1:b>2</ns1:b>\n"
              "    </ns1:Add>\n"
              "  </soap:Body>\n"
              "</soap:Envelope>\n");
    EXPECT_EQ(request.soapAction, "urn:kelvane:calculator#Add");
    EXPECT_EQ(request.contentType, "text/xml; charset=utf-8");
}

// Each content model as the sample fills it (the schema leaves local elements unqualified).
TEST_F(SampleRequestTest, EachContentModelIsFilledAsTheDemoFillsIt)
{
    const struct {
        const char* schema;   // declares the global element "In"
        const char* body;
    } cases[] = {
        {"<xsd:element name=\"In\"><xsd:complexType><xsd:sequence>"
         "<xsd:element name=\"count\" type=\"xsd:int\"/><xsd:element name=\"note\" type=\"xsd:string\" minOccurs=\"0\"/>"
         "<xsd:element name=\"item\" type=\"xsd:double\" maxOccurs=\"unbounded\"/><xsd:element name=\"on\" type=\"xsd:boolean\"/>"
         "<xsd:element name=\"at\" type=\"xsd:dateTime\"/></xsd:sequence></xsd:complexType></xsd:element>",
         "    <ns1:In>\n      <count>1</count>\n      <note>note2</note>\n      <item>3.5</item>\n      <item>4.5</item>\n"
         "      <on>true</on>\n      <at>2001-02-03T04:05:06</at>\n    </ns1:In>\n"},
        {"<xsd:simpleType name=\"Colour\"><xsd:restriction base=\"xsd:string\"><xsd:enumeration value=\"red &amp; blue\"/>"
         "<xsd:enumeration value=\"green\"/></xsd:restriction></xsd:simpleType>"
         "<xsd:element name=\"In\"><xsd:complexType><xsd:choice><xsd:element name=\"colour\" type=\"tns:Colour\"/>"
         "<xsd:element name=\"code\" type=\"xsd:int\"/></xsd:choice></xsd:complexType></xsd:element>",
         "    <ns1:In>\n      <colour>red &amp; blue</colour>\n    </ns1:In>\n"},
        {"<xsd:complexType name=\"Node\"><xsd:sequence><xsd:element name=\"next\" type=\"tns:Node\" minOccurs=\"0\"/>"
         "</xsd:sequence></xsd:complexType><xsd:element name=\"In\" type=\"tns:Node\"/>",
         "    <ns1:In>\n      <next>\n        <next>\n          <next>\n            <next/>\n"
         "          </next>\n        </next>\n      </next>\n    </ns1:In>\n"},
        {"<xsd:element name=\"In\" type=\"xsd:string\"/>", "    <ns1:In>In1</ns1:In>\n"},
        // Attributes a document must give, with the value fixed or defaulted where the schema gives one.
        {"<xsd:element name=\"In\"><xsd:complexType><xsd:sequence><xsd:element name=\"x\" type=\"xsd:int\"/>"
         "</xsd:sequence><xsd:attribute name=\"id\" type=\"xsd:string\" use=\"required\"/>"
         "<xsd:attribute name=\"v\" type=\"xsd:string\" use=\"required\" fixed=\"2.0\"/>"
         "<xsd:attribute name=\"lang\" type=\"xsd:string\" use=\"required\" default=\"en\"/>"
         "<xsd:attribute name=\"note\" type=\"xsd:string\"/></xsd:complexType></xsd:element>",
         "    <ns1:In id=\"id1\" v=\"2.0\" lang=\"en\">\n      <x>2</x>\n    </ns1:In>\n"},
        // An extension holds its base's elements before its own.
        {"<xsd:complexType name=\"Base\"><xsd:sequence><xsd:element name=\"a\" type=\"xsd:int\"/></xsd:sequence>"
         "</xsd:complexType><xsd:complexType name=\"Derived\"><xsd:complexContent><xsd:extension base=\"tns:Base\">"
         "<xsd:sequence><xsd:element name=\"b\" type=\"xsd:int\"/></xsd:sequence></xsd:extension></xsd:complexContent>"
         "</xsd:complexType><xsd:element name=\"In\" type=\"tns:Derived\"/>",
         "    <ns1:In>\n      <a>1</a>\n      <b>2</b>\n    </ns1:In>\n"},
        // Of a choice nested in a sequence only its first branch stands, a nested sequence whole.
        {"<xsd:element name=\"In\"><xsd:complexType><xsd:sequence><xsd:element name=\"a\" type=\"xsd:int\"/>"
         "<xsd:choice><xsd:sequence><xsd:element name=\"b\" type=\"xsd:int\"/><xsd:element name=\"c\" type=\"xsd:int\"/>"
         "</xsd:sequence><xsd:element name=\"d\" type=\"xsd:int\"/></xsd:choice>"
         "<xsd:element name=\"e\" type=\"xsd:int\"/></xsd:sequence></xsd:complexType></xsd:element>",
         "    <ns1:In>\n      <a>1</a>\n      <b>2</b>\n      <c>3</c>\n      <e>4</e>\n    </ns1:In>\n"},
        // A group named by reference stands where it is named; of a choice group its first element.
        {"<xsd:group name=\"G\"><xsd:choice><xsd:element name=\"g1\" type=\"xsd:int\"/>"
         "<xsd:element name=\"g2\" type=\"xsd:int\"/></xsd:choice></xsd:group>"
         "<xsd:element name=\"In\"><xsd:complexType><xsd:sequence><xsd:element name=\"a\" type=\"xsd:int\"/>"
         "<xsd:group ref=\"tns:G\"/><xsd:element name=\"z\" type=\"xsd:int\"/></xsd:sequence></xsd:complexType>"
         "</xsd:element>",
         "    <ns1:In>\n      <a>1</a>\n      <g1>2</g1>\n      <z>3</z>\n    </ns1:In>\n"},
        // Simple content takes the facets of the simple type it extends.
        {"<xsd:simpleType name=\"Code\"><xsd:restriction base=\"xsd:string\"><xsd:length value=\"2\"/>"
         "</xsd:restriction></xsd:simpleType><xsd:element name=\"In\"><xsd:complexType><xsd:sequence>"
         "<xsd:element name=\"code\"><xsd:complexType><xsd:simpleContent><xsd:extension base=\"tns:Code\"/>"
         "</xsd:simpleContent></xsd:complexType></xsd:element></xsd:sequence></xsd:complexType></xsd:element>",
         "    <ns1:In>\n      <code>co</code>\n    </ns1:In>\n"},
        // A wildcard a document must hold gets an element of the namespace it names.
        {"<xsd:element name=\"In\"><xsd:complexType><xsd:sequence><xsd:any namespace=\"urn:other ##local\"/>"
         "</xsd:sequence></xsd:complexType></xsd:element>",
         "    <ns1:In>\n      <ns2:item/>\n    </ns1:In>\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.schema);
        CServiceView& v = view(schemaDocument(
            c.schema,
            "<message name=\"M\"><part name=\"p\" element=\"tns:In\"/></message>"
            "<portType name=\"P\"><operation name=\"Op\"><input message=\"tns:M\"/></operation></portType>"
            "<binding name=\"B\" type=\"tns:P\"><soap:binding style=\"document\" "
            "transport=\"http://schemas.xmlsoap.org/soap/http\"/><operation name=\"Op\"><soap:operation soapAction=\"\"/>"
            "<input><soap:body use=\"literal\"/></input></operation></binding>\n"));
        const CSampleRequest request = sampleRequest(operation(v, "Op"));
        EXPECT_EQ(body(request.envelope), c.body) << request.envelope;
        EXPECT_NE(request.envelope.find("xmlns:ns1=\"urn:t\""), std::string::npos);
    }
}

// A part that soap:header binds stands in the Header and not in the Body, in either SOAP version.
TEST_F(SampleRequestTest, AHeaderPartStandsInTheHeader)
{
    const struct {
        const char* prefix;    // of the binding's extensions
        const char* envelope;  // the SOAP version's
    } cases[] = {
        {"soap", "http://schemas.xmlsoap.org/soap/envelope/"},
        {"soap12", "http://www.w3.org/2003/05/soap-envelope"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.prefix);
        const std::string p = c.prefix;
        CServiceView& v = view(wsdltest::definitions(
            "<types><xsd:schema targetNamespace=\"urn:t\"><xsd:element name=\"Token\" type=\"xsd:string\"/>"
            "<xsd:element name=\"In\" type=\"xsd:int\"/></xsd:schema></types>\n"
            "<message name=\"M\"><part name=\"auth\" element=\"tns:Token\"/><part name=\"p\" element=\"tns:In\"/></message>"
            "<portType name=\"P\"><operation name=\"Op\"><input message=\"tns:M\"/></operation></portType>"
            "<binding name=\"B\" type=\"tns:P\"><" + p + ":binding style=\"document\" "
            "transport=\"http://schemas.xmlsoap.org/soap/http\"/><operation name=\"Op\"><" + p + ":operation soapAction=\"\"/>"
            "<input><" + p + ":header message=\"tns:M\" part=\"auth\" use=\"literal\"/><" + p +
            ":body use=\"literal\" parts=\"p\"/></input></operation></binding>\n",
            " xmlns:soap12=\"http://schemas.xmlsoap.org/wsdl/soap12/\""));
        const std::string envelope = sampleRequest(operation(v, "Op")).envelope;
        EXPECT_NE(envelope.find(std::string("<soap:Envelope xmlns:soap=\"") + c.envelope), std::string::npos) << envelope;
        EXPECT_NE(envelope.find("  <soap:Header>\n    <ns1:Token>Token1</ns1:Token>\n  </soap:Header>\n"
                                "  <soap:Body>\n    <ns1:In>2</ns1:In>\n  </soap:Body>\n"),
                  std::string::npos)
            << envelope;
    }
}

TEST_F(SampleRequestTest, AnRpcOperationOfASoap12BindingIsWrappedAndSaysItsAction)
{
    CServiceView& v = view(wsdltest::definitions(
        "<message name=\"M\"><part name=\"x\" type=\"xsd:int\"/><part name=\"label\" type=\"xsd:string\"/></message>"
        "<portType name=\"P\"><operation name=\"Sum\"><input message=\"tns:M\"/></operation></portType>"
        "<binding name=\"B\" type=\"tns:P\"><soap12:binding style=\"rpc\" transport=\"http://schemas.xmlsoap.org/soap/http\"/>"
        "<operation name=\"Sum\"><soap12:operation soapAction=\"urn:s&quot;um\"/>"
        "<input><soap12:body use=\"literal\" namespace=\"urn:rpc\"/></input></operation></binding>\n",
        " xmlns:soap12=\"http://schemas.xmlsoap.org/wsdl/soap12/\""));
    const CSampleRequest request = sampleRequest(operation(v, "Sum"));
    EXPECT_EQ(request.envelope,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<soap:Envelope xmlns:soap=\"http://www.w3.org/2003/05/soap-envelope\" xmlns:ns1=\"urn:rpc\">\n"
              "  <soap:Body>\n"
              "    <ns1:Sum>\n"
              "      <x>1</x>\n"
              "      <label>label2</label>\n"
              "    </ns1:Sum>\n"
              "  </soap:Body>\n"
              "</soap:Envelope>\n");
    // The action is a quoted string in the header.
    EXPECT_EQ(request.soapAction, "urn:s\"um");
    EXPECT_EQ(request.contentType, "application/soap+xml; charset=utf-8; action=\"urn:s\\\"um\"");
}

}  // namespace
