// Ids of SOAP extensibility elements across whole documents: bindings with
// more SOAP elements than a few hundred keep every id resolvable to the SOAP
// handler, and every port keeps its own address, also when the address
// names no location or holds text.

#include "WsdlParseTestSupport.h"
#include "wsdl/SoapExtension.h"

#include <iterator>

using namespace Wsdl;
using namespace wsdltest;

namespace {

// Port type P with operations op0 .., binding B1 of them all and binding B2
// of op0 alone, each bound to a port of service S.
std::string manyOperations(int count)
{
    std::string portType = "<message name=\"M\"/>\n<portType name=\"P\">";
    std::string operations;
    for (int i = 0; i < count; ++i) {
        const std::string name = "op" + std::to_string(i);
        portType += "<operation name=\"" + name + "\"><input message=\"tns:M\"/></operation>";
        operations += "<operation name=\"" + name + "\"><soap:operation soapAction=\"urn:" + name +
            "\"/><input><soap:body use=\"literal\"/></input></operation>\n";
    }
    portType += "</portType>\n";
    const std::string second = "<operation name=\"op0\"><soap:operation soapAction=\"urn:second\"/>"
                               "<input><soap:body use=\"literal\"/></input></operation>\n";
    return definitions(portType + "<binding name=\"B1\" type=\"tns:P\"><soap:binding style=\"document\"/>\n" +
                       operations + "</binding>\n<binding name=\"B2\" type=\"tns:P\"><soap:binding style=\"rpc\"/>\n" +
                       second + "</binding>\n<service name=\"S\">"
                                "<port name=\"p1\" binding=\"tns:B1\"><soap:address location=\"http://h/1\"/></port>"
                                "<port name=\"p2\" binding=\"tns:B2\"><soap:address location=\"http://h/2\"/></port>"
                                "</service>\n");
}

class WsdlParseSoapIdsTest : public WsdlParseTest {
protected:
    // Every id of the binding (its own and those of every group of every
    // operation) leads to the SOAP handler; returns how many there were.
    int expectSoapIds(const Binding& binding)
    {
        const SoapExtension* soap = parser_->getSoapExtension();
        EXPECT_EQ(binding.getProtocolNamespace(), SoapBindingUri) << binding.getName();
        EXPECT_NE(binding.getProtocolElementId(), 0) << binding.getName();
        EXPECT_EQ(parser_->getExtensionHandler(binding.getProtocolElementId()), soap) << binding.getName();
        int checked = 1;
        for (int op = 0; op < binding.getNumOps(); ++op) {
            for (auto read : {&Binding::getOpBinding, &Binding::getInputBinding, &Binding::getOutputBinding,
                              &Binding::getFaultBinding}) {
                const int* ids = nullptr;
                const int count = (binding.*read)(op, ids);
                for (int i = 0; i < count; ++i, ++checked) {
                    EXPECT_EQ(parser_->getExtensionHandler(ids[i]), soap)
                        << binding.getName() << " operation " << op << " id " << ids[i];
                    EXPECT_NE(soap->getExtElementType(ids[i]), 0) << ids[i];
                }
            }
            const int* ids = nullptr;
            std::string action;
            int style = -1;
            EXPECT_EQ(binding.getOpBinding(op, ids), 1) << binding.getName() << " operation " << op;
            if (ids != nullptr) {
                EXPECT_TRUE(soap->getOperationInfo(ids[0], action, style)) << ids[0];
            }
        }
        return checked;
    }
};

TEST_F(WsdlParseSoapIdsTest, IdsPastTheFirstFewHundredLeadToTheSoapHandler)
{
    for (const int operations : {1, 100, 400}) {
        SCOPED_TRACE(operations);
        parse(manyOperations(operations));
        expectSuccess();
        ASSERT_EQ(parser_->getBindings().size(), 2u);
        const Binding& first = *nth(parser_->getBindings(), 0);
        const Binding& second = *nth(parser_->getBindings(), 1);
        EXPECT_EQ(expectSoapIds(first), 1 + 2 * operations);
        EXPECT_EQ(expectSoapIds(second), 3);
        // Ids in document order: B1's binding, two per operation, then B2's.
        EXPECT_EQ(second.getProtocolElementId(), 2 + 2 * operations);

        const SoapExtension* soap = parser_->getSoapExtension();
        const int* ids = nullptr;
        std::string action;
        int style = -1;
        ASSERT_EQ(second.getOpBinding(0, ids), 1);
        EXPECT_TRUE(soap->getOperationInfo(ids[0], action, style));
        EXPECT_EQ(action, "urn:second");
        EXPECT_EQ(style, SoapExtension::Rpc);
        // The addresses come after both bindings.
        const Service& service = *parser_->getServices().front();
        std::string location;
        EXPECT_TRUE(soap->getAddressLocation(service.getPorts().back().extElementId, location));
        EXPECT_EQ(location, "http://h/2");
    }
}

TEST_F(WsdlParseSoapIdsTest, EveryPortKeepsItsOwnAddress)
{
    struct Case {
        const char* address;
        const char* location;
        const char* report; // empty: none
    };
    const Case cases[] = {
        {R"(<soap:address location="http://first/"/>)", "http://first/", ""},
        {R"(<soap:address/>)", "", "Required attribute \"location\" missing or empty"},
        {R"(<soap:address location="http://third/">see docs</soap:address>)", "http://third/",
         "Unexpected text in address"},
        {R"(<soap:address location="http://fourth/"> <!-- c --> </soap:address>)", "http://fourth/", ""},
        {R"(<soap:address location=""/>)", "", "Required attribute \"location\" missing or empty"},
    };
    std::string ports;
    for (std::size_t i = 0; i < std::size(cases); ++i)
        ports += "<port name=\"P" + std::to_string(i) + "\" binding=\"tns:CalcSoap\">" + cases[i].address + "</port>\n";
    parse(definitions("<message name=\"AddIn\"/><message name=\"AddOut\"/>\n" + calculatorPortType() +
                      calculatorBinding() + "<service name=\"S\">\n" + ports + "</service>\n"));
    expectSuccess();
    ASSERT_EQ(parser_->getServices().size(), 1u);
    const Service& service = *parser_->getServices().front();
    ASSERT_EQ(service.getPorts().size(), std::size(cases));
    const SoapExtension* soap = parser_->getSoapExtension();
    auto port = service.getPorts().begin();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        std::string location = "untouched";
        EXPECT_TRUE(soap->getAddressLocation(port->extElementId, location));
        EXPECT_EQ(location, c.location);
        if (*c.report != '\0') {
            EXPECT_NE(diagnostics_.str().find(c.report), std::string::npos) << diagnostics_.str();
        }
        ++port;
    }
}

} // namespace
