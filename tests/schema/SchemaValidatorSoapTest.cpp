// The SOAP binding elements validated against the built-in soap.xsd, as the
// SOAP extension does it.

#include "SchemaValidatorTestSupport.h"
#include "support/CaseFile.h"

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
    ASSERT_TRUE(soap_.ok) << soap_.log.str();
    for (const auto& c : testsupport::caseTable("schema/data/validator.cases", "soap-elements")) {
        SCOPED_TRACE(c[0]);
        const Outcome outcome = validateSoap(c[0]);
        EXPECT_EQ(outcome.error, c[1].empty() ? "" : failure(c[1]));
        if (c[1].empty()) {
            EXPECT_EQ(outcome.endEvent, XmlPullParser::END_TAG);
            EXPECT_EQ(outcome.endName, Instance(soapElement(c[0])).xpp.getName());
        }
    }
}

TEST_F(SchemaValidatorSoapTest, AttributeValuesAreKeptWithTheirType)
{
    ASSERT_TRUE(soap_.ok) << soap_.log.str();
    // The message of a header is a qualified name, its prefix resolved.
    for (const auto& c : testsupport::caseTable("schema/data/validator.cases", "soap-attributes")) {
        SCOPED_TRACE(c[0]);
        const Outcome outcome = validateSoap(c[0]);
        ASSERT_EQ(outcome.error, "");
        EXPECT_EQ(render(outcome.root->getAttributeContainer(c[1], false)), c[2]);
    }
}

} // namespace
