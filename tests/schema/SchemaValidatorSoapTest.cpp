// The SOAP binding elements validated against the built-in soap.xsd, as the
// SOAP extension does it.

#include "SchemaValidatorTestSupport.h"

#include <gtest/gtest.h>

using namespace Schema;
using namespace schematest;
using namespace validatortest;

namespace {

class SchemaValidatorSoapTest : public ::testing::Test {
protected:
    SchemaValidatorSoapTest() : soap_(builtInSchemaFolder() + "soap.xsd", SoapNs) {}

    Outcome validateSoap(const std::string& element)
    {
        const std::string xml = soapElement(element);
        const Instance probe(xml);
        const Element* declaration = soap_.parser.getElement(qname(SoapNs, probe.xpp.getName()));
        return validate(soap_.parser, declaration != nullptr ? declaration->getType() : 0, xml);
    }

    FileSchema soap_;
};

TEST_F(SchemaValidatorSoapTest, ElementsOfTheBindingAreChecked)
{
    struct Case {
        const char* element;
        const char* error;
    };
    const Case cases[] = {
        {R"(<soap:binding style="rpc" transport="http://schemas.xmlsoap.org/soap/http"/>)", ""},
        {R"(<soap:binding/>)", ""},
        {R"(<soap:operation soapAction="urn:a" x:extra="1"/>)", ""},
        {R"(<soap:operation soapAction="" style="document"/>)", ""},
        {R"(<soap:operation bogus="1"/>)", R"(Unknown attribute "bogus")"},
        {R"(<soap:body use="literal" parts="a b" namespace="urn:n" encodingStyle="urn:e1 urn:e2"/>)", ""},
        {R"(<soap:header message="tns:M" part="p" use="encoded"/>)", ""},
        {R"(<soap:header message="tns:M" parts="p"><soap:headerfault message="tns:F" part="f"/></soap:header>)", ""},
        {R"(<soap:header part="p"/>)", R"(Required attribute "message" missing or empty)"},
        {R"(<soap:header message="tns:M"><soap:headerfault part="f"/></soap:header>)",
         R"(Required attribute "message" missing or empty)"},
        {R"(<soap:header message="tns:M"><soap:body/></soap:header>)", "Could not find element body in header"},
        {R"(<soap:fault name="f" use="literal"/>)", ""},
        {R"(<soap:address location="http://host/svc"/>)", ""},
        {R"(<soap:address location=""/>)", R"(Required attribute "location" missing or empty)"},
        {R"(<soap:address/>)", R"(Required attribute "location" missing or empty)"},
        {R"(<soap:address location="http://host/svc"><x:child/></soap:address>)", "Expected a closing tag for address"},
        {R"(<soap:address location="http://host/svc">see docs</soap:address>)", "Unexpected text in address"},
    };
    ASSERT_TRUE(soap_.ok) << soap_.log.str();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.element);
        const Outcome outcome = validateSoap(c.element);
        EXPECT_EQ(outcome.error, *c.error ? failure(c.error) : "");
        if (*c.error == '\0') {
            EXPECT_EQ(outcome.endEvent, XmlPullParser::END_TAG);
            EXPECT_EQ(outcome.endName, Instance(soapElement(c.element)).xpp.getName());
        }
    }
}

TEST_F(SchemaValidatorSoapTest, AttributeValuesAreKeptWithTheirType)
{
    struct Case {
        const char* element;
        const char* attribute;
        const char* expected;
    };
    const Case cases[] = {
        {R"(<soap:binding style="rpc"/>)", "style", "string:rpc"},
        {R"(<soap:binding style="other"/>)", "style", "string:other (invalid)"},
        {R"(<soap:operation soapAction=""/>)", "soapAction", "string:"},
        {R"(<soap:body use="encoded"/>)", "use", "string:encoded"},
        {R"(<soap:body parts="a b"/>)", "parts", "string:a b"},
        // the message of a header is a qualified name, its prefix resolved
        {R"(<soap:header message="tns:M" part="p"/>)", "message", "qname:tns{urn:tns}M"},
        {R"(<soap:header message="M" part="p"/>)", "message", "qname:{}M"},
        {R"(<soap:operation x:extra="1"/>)", "extra", "no container"},
    };
    ASSERT_TRUE(soap_.ok) << soap_.log.str();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.element);
        const Outcome outcome = validateSoap(c.element);
        ASSERT_EQ(outcome.error, "");
        EXPECT_EQ(render(outcome.root->getAttributeContainer(c.attribute, false)), c.expected);
    }
}

} // namespace
