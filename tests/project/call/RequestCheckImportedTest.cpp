// Requests whose types come from an imported schema: the attributes of a base
// two levels up, simple content borrowed from the other schema, and simple
// content that extends a bounded simple type. The sample passes the check and
// each wrong value or attribute is found.
#include "project/call/RequestCheck.h"

#include "generator/model/ServiceView.h"
#include "generator/sample/SampleRequest.h"
#include "project/call/CallService.h"
#include "support/SchemaNames.h"
#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

const char* const kCommon =
    "<xsd:schema xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" xmlns:c=\"urn:c\" targetNamespace=\"urn:c\" "
    "elementFormDefault=\"qualified\">"
    "<xsd:complexType name=\"Core\"><xsd:attribute name=\"key\" type=\"xsd:string\" use=\"required\"/>"
    "<xsd:attribute name=\"trace\" type=\"xsd:int\"/></xsd:complexType>"
    "<xsd:complexType name=\"Base\"><xsd:complexContent><xsd:extension base=\"c:Core\">"
    "<xsd:attribute name=\"mode\" type=\"xsd:string\"/></xsd:extension></xsd:complexContent></xsd:complexType>"
    "<xsd:simpleType name=\"Code\"><xsd:restriction base=\"xsd:string\"><xsd:length value=\"2\"/>"
    "</xsd:restriction></xsd:simpleType>"
    "<xsd:element name=\"Token\"><xsd:complexType><xsd:simpleContent><xsd:extension base=\"xsd:string\">"
    "<xsd:attribute name=\"host\" type=\"xsd:string\"/></xsd:extension></xsd:simpleContent></xsd:complexType>"
    "</xsd:element></xsd:schema>";

const char* const kService =
    "<definitions xmlns=\"http://schemas.xmlsoap.org/wsdl/\" xmlns:soap=\"http://schemas.xmlsoap.org/wsdl/soap/\" "
    "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" xmlns:tns=\"urn:t\" xmlns:c=\"urn:c\" targetNamespace=\"urn:t\">"
    "<types><xsd:schema targetNamespace=\"urn:t\" elementFormDefault=\"qualified\">"
    "<xsd:import namespace=\"urn:c\" schemaLocation=\"common.xsd\"/>"
    "<xsd:element name=\"Req\"><xsd:complexType><xsd:complexContent><xsd:extension base=\"c:Base\"><xsd:sequence>"
    "<xsd:element ref=\"c:Token\"/><xsd:element name=\"carrier\"><xsd:complexType><xsd:simpleContent>"
    "<xsd:extension base=\"c:Code\"/></xsd:simpleContent></xsd:complexType></xsd:element>"
    "</xsd:sequence></xsd:extension></xsd:complexContent></xsd:complexType></xsd:element></xsd:schema></types>"
    "<message name=\"In\"><part name=\"p\" element=\"tns:Req\"/></message>"
    "<portType name=\"P\"><operation name=\"Op\"><input message=\"tns:In\"/></operation></portType>"
    "<binding name=\"B\" type=\"tns:P\"><soap:binding style=\"document\" "
    "transport=\"http://schemas.xmlsoap.org/soap/http\"/><operation name=\"Op\"><soap:operation soapAction=\"\"/>"
    "<input><soap:body use=\"literal\"/></input></operation></binding>"
    "<service name=\"S\"><port name=\"Q\" binding=\"tns:B\"><soap:address location=\"http://localhost/\"/></port>"
    "</service></definitions>";

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from << " in\n" << text;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(RequestCheckImportedTest, BorrowedBasesAndSimpleContentAreCheckedInTheirOwnSchema)
{
    testsupport::ScopedWorkingFolder folder;
    testsupport::writeBytes("common.xsd", kCommon);
    testsupport::writeBytes("service.wsdl", kService);
    CallService service("service.wsdl", testsupport::builtInSchemaFolder());
    std::ostringstream messages;
    ASSERT_TRUE(service.read(messages)) << messages.str();
    ASSERT_EQ(service.view().portTypes().size(), 1u);
    const CViewOperation& op = service.view().portTypes().front().operations.at(0);
    const std::string sample = sampleRequest(op).envelope;
    // The grandbase's required attribute stands, and the bounded code has its length.
    ASSERT_NE(sample.find(" key=\""), std::string::npos) << sample;
    const std::size_t carrier = sample.find(":carrier>") + 9;
    EXPECT_EQ(sample.substr(carrier, sample.find('<', carrier) - carrier).size(), 2u) << sample;

    const struct {
        const char* name;
        std::string envelope;
        const char* message; // empty: the request passes
    } cases[] = {
        {"the sample", sample, ""},
        {"a grandbase's attribute", replaced(sample, " key=\"", " trace=\"7\" mode=\"m\" key=\""), ""},
        {"a grandbase's attribute of the wrong type", replaced(sample, " key=\"", " trace=\"x\" key=\""), "\"x\""},
        {"an attribute no base declares", replaced(sample, " key=\"", " other=\"1\" key=\""), "Unknown attribute"},
        {"the grandbase's required attribute missing", replaced(sample, " key=\"", " mode=\""), "\"key\""},
        {"borrowed simple content with its attribute", replaced(sample, ":Token>", ":Token host=\"h\">"), ""},
        {"a code too long", replaced(sample, ":carrier>", ":carrier>abc"), "does not fit"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<RequestProblem> problems = checkRequest(service.schemas(), op, c.envelope);
        if (*c.message == '\0') {
            for (const RequestProblem& problem : problems)
                ADD_FAILURE() << problem.line << ":" << problem.column << ": " << problem.message << "\n" << c.envelope;
            continue;
        }
        ASSERT_FALSE(problems.empty()) << c.envelope;
        EXPECT_NE(problems[0].message.find(c.message), std::string::npos) << problems[0].message;
    }
}

} // namespace
