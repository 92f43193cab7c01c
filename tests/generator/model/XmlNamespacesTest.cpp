#include "generator/model/XmlNamespaces.h"

#include "schema/SchemaConstants.h"
#include "wsdl/WsdlNamespaces.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The view's namespaces get "ns1", "ns2" ... in the order it first names
// them, each once; the envelope's own keep their fixed prefixes and are
// never declared again; a name in no namespace or an unknown one stands
// alone.
TEST(XmlNamespacesTest, PrefixesFollowFirstUseAndSkipTheEnvelopesOwn)
{
    CServiceView view;
    for (const char* ns : {"urn:b", "urn:a", "urn:b", Schema::SchemaUri, "", "urn:c", Wsdl::SoapEncodingUri})
        view.addSchema(ns);
    view.setTargetNamespace("urn:a");
    const CXmlNamespaces namespaces(view);

    EXPECT_EQ(namespaces.declarations(), " xmlns:ns1=\"urn:b\" xmlns:ns2=\"urn:a\" xmlns:ns3=\"urn:c\"");
    const struct {
        const char* ns;
        const char* local;
        const char* expected;
    } cases[] = {
        {"urn:b", "x", "ns1:x"},
        {"urn:a", "x", "ns2:x"},
        {"urn:c", "x", "ns3:x"},
        {Schema::SchemaUri, "int", "xsd:int"},
        {Wsdl::SoapEncodingUri, "Array", "SOAP-ENC:Array"},
        {CXmlNamespaces::EnvelopeUri, "Body", "SOAP-ENV:Body"},
        {CXmlNamespaces::InstanceUri, "type", "xsi:type"},
        {"http://www.w3.org/XML/1998/namespace", "lang", "xml:lang"},
        {"", "x", "x"},
        {"urn:unknown", "x", "x"},
        {"urn:b ", "x", "x"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(namespaces.qualifiedName(c.ns, c.local), c.expected) << c.ns;
}

} // namespace
