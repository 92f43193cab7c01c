#include "generator/model/XmlNamespaces.h"

#include "generator/model/NameForms.h"
#include "schema/SchemaConstants.h"
#include "wsdl/WsdlNamespaces.h"

#include <iterator>
#include <utility>

namespace {

constexpr const char* XmlUri = "http://www.w3.org/XML/1998/namespace";

struct CEnvelopeNamespace {
    const char* uri;
    const char* prefix;
};

// The envelope's own namespaces, first in the list.
constexpr CEnvelopeNamespace EnvelopeNamespaces[] = {
    {CXmlNamespaces::EnvelopeUri, "SOAP-ENV"},
    {Wsdl::SoapEncodingUri, "SOAP-ENC"},
    {Schema::SchemaUri, "xsd"},
    {CXmlNamespaces::InstanceUri, "xsi"},
    {XmlUri, "xml"},
};
constexpr std::size_t EnvelopeCount = std::size(EnvelopeNamespaces);

} // namespace

CXmlNamespaces::CXmlNamespaces(const CServiceView& view)
{
    for (const CEnvelopeNamespace& envelope : EnvelopeNamespaces)
        add(envelope.uri, envelope.prefix);
    for (const CViewSchema& schema : view.schemas())
        add(schema.ns);
    for (const CViewElement& element : view.elements())
        add(element.ns);
    for (const CViewType& type : view.types()) {
        add(type.ns);
        for (const CViewParticle& particle : type.particles)
            add(particle.ns);
        for (const CViewAttribute& attribute : type.attributes)
            add(attribute.ns);
    }
    add(view.targetNamespace());
    for (const CViewPortType& portType : view.portTypes()) {
        for (const CViewOperation& operation : portType.operations) {
            add(operation.in.bodyNamespace);
            add(operation.out.bodyNamespace);
        }
    }
}

void CXmlNamespaces::add(std::string_view ns, std::string prefix)
{
    prefixes_.push_back(CPrefix{std::string(ns), std::move(prefix)});
}

void CXmlNamespaces::add(std::string_view ns)
{
    if (!ns.empty() && prefixOf(ns).empty())
        add(ns, "ns" + std::to_string(prefixes_.size() - EnvelopeCount + 1));
}

std::string_view CXmlNamespaces::prefixOf(std::string_view ns) const
{
    for (const CPrefix& entry : prefixes_) {
        if (entry.ns == ns)
            return entry.prefix;
    }
    return std::string_view();
}

std::string CXmlNamespaces::qualifiedName(std::string_view ns, std::string_view local) const
{
    const std::string_view prefix = ns.empty() ? std::string_view() : prefixOf(ns);
    std::string name;
    name.reserve(prefix.size() + 1 + local.size());
    if (!prefix.empty())
        name.append(prefix).append(1, ':');
    return name.append(local);
}

std::string CXmlNamespaces::typeName(const CTypeRef& type) const
{
    if (type.builtin != 0)
        return std::string("xsd:") + xsdTypeName(type.builtin);
    if (type.user == nullptr || type.user->anonymous || type.user->name.empty())
        return std::string();
    return qualifiedName(type.user->ns, type.user->name);
}

std::string CXmlNamespaces::declarations() const
{
    std::string text;
    for (std::size_t i = EnvelopeCount; i < prefixes_.size(); ++i) {
        const CPrefix& entry = prefixes_[i];
        text.append(" xmlns:").append(entry.prefix).append("=\"").append(xmlEscaped(entry.ns)).append("\"");
    }
    return text;
}
