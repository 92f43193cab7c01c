// The WS-SecurityPolicy assertions a binding's policies make: inline in the
// binding or its operations, by reference to a policy of the document
// (before or after the binding, one referring to another), in either policy
// namespace and any security policy version; nothing of other policies,
// other assertions or other namespaces.

#include "WsdlParseTestSupport.h"

using namespace wsdltest;

namespace {

const char* const Namespaces = " xmlns:wsp=\"http://schemas.xmlsoap.org/ws/2004/09/policy\""
                               " xmlns:wsp15=\"http://www.w3.org/ns/ws-policy\""
                               " xmlns:wsu=\"http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd\""
                               " xmlns:sp=\"http://docs.oasis-open.org/ws-sx/ws-securitypolicy/200702\""
                               " xmlns:sp05=\"http://schemas.xmlsoap.org/ws/2005/07/securitypolicy\""
                               " xmlns:other=\"urn:other\"";

// The calculator's binding with policy elements put in at its start and in its operation.
std::string bindingWith(const std::string& atStart, const std::string& inOperation)
{
    std::string binding = calculatorBinding();
    binding.insert(binding.find("<soap:binding"), atStart);
    binding.insert(binding.find("<soap:operation"), inOperation);
    return binding;
}

class WsdlSecurityPolicyTest : public WsdlParseTest {};

TEST_F(WsdlSecurityPolicyTest, ABindingsPoliciesNameTheTokensItAsksFor)
{
    const std::string userToken = "<wsp:Policy wsu:Id=\"User\"><wsp:ExactlyOne><wsp:All><sp:SignedSupportingTokens><wsp:Policy>"
                                  "<sp:UsernameToken><wsp:Policy><sp:HashPassword/></wsp:Policy></sp:UsernameToken>"
                                  "</wsp:Policy></sp:SignedSupportingTokens><sp:AlgorithmSuite/></wsp:All></wsp:ExactlyOne></wsp:Policy>";
    const struct {
        const char* label;
        std::string before;
        std::string atStart;
        std::string inOperation;
        std::string after;
        std::string expected;
    } cases[] = {
        {"referred to before", userToken, "<wsp:PolicyReference URI=\"#User\"/>", "", "",
         "SignedSupportingTokens UsernameToken HashPassword"},
        {"referred to after", "", "<wsp:PolicyReference URI=\"#User\"/>", "", userToken,
         "SignedSupportingTokens UsernameToken HashPassword"},
        {"inline, in the operation", "", "",
         "<wsp15:Policy><sp:AsymmetricBinding/><sp:X509Token/><sp:IncludeTimestamp/><sp:SignedParts/></wsp15:Policy>", "",
         "AsymmetricBinding X509Token IncludeTimestamp SignedParts"},
        {"the 2005 version, by way of another policy",
         "<wsp:Policy wsu:Id=\"Https\"><sp05:TransportBinding><wsp:Policy><sp05:TransportToken><wsp:Policy>"
         "<sp05:HttpsToken/></wsp:Policy></sp05:TransportToken></wsp:Policy></sp05:TransportBinding></wsp:Policy>"
         "<wsp:Policy wsu:Id=\"Outer\"><wsp:PolicyReference URI=\"#Https\"/></wsp:Policy>",
         "<wsp:PolicyReference URI=\"#Outer\"/>", "", "", "TransportBinding HttpsToken"},
        {"each name once, a ring of references ended",
         "<wsp:Policy wsu:Id=\"A\"><sp:X509Token/><wsp:PolicyReference URI=\"#B\"/></wsp:Policy>"
         "<wsp:Policy wsu:Id=\"B\"><sp:X509Token/><wsp:PolicyReference URI=\"#A\"/></wsp:Policy>",
         "<wsp:PolicyReference URI=\"#A\"/>", "", "", "X509Token"},
        {"other policies and names left out", userToken,
         "<wsp:PolicyReference URI=\"#Missing\"/><wsp:Policy><other:UsernameToken/><sp:Layout/></wsp:Policy>", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        WsdlParser& parser = parse(definitions(c.before + calculatorMessages() + calculatorPortType() +
                                                   bindingWith(c.atStart, c.inOperation) + c.after + calculatorService(),
                                               Namespaces));
        expectSuccess();
        ASSERT_EQ(parser.getBindings().size(), 1u);
        std::string names;
        for (const std::string& name : parser.getSecurityPolicy(*parser.getBindings().front()))
            names.append(names.empty() ? "" : " ").append(name);
        EXPECT_EQ(names, c.expected);
    }
}

} // namespace
