#include "generator/model/XmlNamespaces.h"

#include "schema/SchemaConstants.h"
#include "wsdl/WsdlNamespaces.h"

#include <gtest/gtest.h>

#include <functional>
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

// Past a handful of namespaces look-ups go through an index: every one is
// still found, with the prefix of its first naming.
TEST(XmlNamespacesTest, ManyNamespacesKeepTheirPrefixes)
{
    CServiceView view;
    for (int round = 0; round < 2; ++round) {
        for (int i = 1; i <= 40; ++i)
            view.addSchema("urn:n" + std::to_string(i));
    }
    const CXmlNamespaces namespaces(view);

    std::string expected;
    for (int i = 1; i <= 40; ++i) {
        const std::string n = std::to_string(i);
        expected += " xmlns:ns" + n + "=\"urn:n" + n + "\"";
        EXPECT_EQ(namespaces.qualifiedName("urn:n" + n, "x"), "ns" + n + ":x");
    }
    EXPECT_EQ(namespaces.declarations(), expected);
    EXPECT_EQ(namespaces.qualifiedName(Schema::SchemaUri, "int"), "xsd:int");
    EXPECT_EQ(namespaces.qualifiedName("urn:n41", "x"), "x");
}

// Namespaces named only deep in the walk (a particle, an attribute, a
// soap:body) or only where the walk never looks (a message) still get
// their prefixes in walk order; the target namespace gets its own where
// nothing before names it.
TEST(XmlNamespacesTest, NamespacesNamedLateInTheWalkKeepWalkOrder)
{
    const auto typeWith = [](CServiceView& view, const char* particleNs, const char* attributeNs) {
        CViewType& type = view.addType("urn:schema", "T");
        CViewParticle particle;
        particle.name = "p";
        particle.ns = view.namespaceText(particleNs);
        type.particles.push_back(particle);
        CViewAttribute attribute;
        attribute.name = "a";
        attribute.ns = view.namespaceText(attributeNs);
        type.attributes.push_back(attribute);
    };
    const auto bodyIn = [](CServiceView& view, const char* ns) {
        CViewPortType& portType = view.addPortType("P");
        portType.operations.emplace_back();
        portType.operations.back().out.bodyNamespace = view.namespaceText(ns);
    };
    const struct {
        const char* name;
        std::function<void(CServiceView&)> build;
        const char* target;
        const char* expected;
    } cases[] = {
        {"particle and attribute after the schema", [&](CServiceView& v) { typeWith(v, "urn:p", "urn:a"); },
         "urn:schema", " xmlns:ns1=\"urn:schema\" xmlns:ns2=\"urn:p\" xmlns:ns3=\"urn:a\""},
        {"target named by a particle before another namespace",
         [&](CServiceView& v) {
             typeWith(v, "urn:t", "");
             typeWith(v, "urn:a", "");
         },
         "urn:t",
         " xmlns:ns1=\"urn:schema\" xmlns:ns2=\"urn:t\" xmlns:ns3=\"urn:a\""},
        {"target named only by a message, body namespace after it",
         [&](CServiceView& v) {
             typeWith(v, "urn:schema", "");
             v.addMessage("M", "urn:t");
             bodyIn(v, "urn:body");
         },
         "urn:t", " xmlns:ns1=\"urn:schema\" xmlns:ns2=\"urn:t\" xmlns:ns3=\"urn:body\""},
        {"body namespace only, target in no entity",
         [&](CServiceView& v) {
             typeWith(v, "", "");
             bodyIn(v, "urn:body");
         },
         "urn:t", " xmlns:ns1=\"urn:schema\" xmlns:ns2=\"urn:t\" xmlns:ns3=\"urn:body\""},
        {"envelope namespaces named by entities",
         [&](CServiceView& v) { typeWith(v, Wsdl::SoapEncodingUri, "urn:a"); }, Schema::SchemaUri,
         " xmlns:ns1=\"urn:schema\" xmlns:ns2=\"urn:a\""},
    };
    for (const auto& c : cases) {
        CServiceView view;
        view.addSchema("urn:schema");
        c.build(view);
        view.setTargetNamespace(c.target);
        EXPECT_EQ(CXmlNamespaces(view).declarations(), c.expected) << c.name;
    }
}

} // namespace
