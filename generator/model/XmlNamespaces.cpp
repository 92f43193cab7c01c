#include "generator/model/XmlNamespaces.h"

#include "generator/model/NameForms.h"
#include "schema/SchemaConstants.h"
#include "wsdl/WsdlNamespaces.h"

namespace {

const char* const XmlUri = "http://www.w3.org/XML/1998/namespace";

} // namespace

CXmlNamespaces::CXmlNamespaces(const CServiceView& view)
{
    prefixes_[EnvelopeUri] = "SOAP-ENV";
    prefixes_[Wsdl::SoapEncodingUri] = "SOAP-ENC";
    prefixes_[Schema::SchemaUri] = "xsd";
    prefixes_[InstanceUri] = "xsi";
    prefixes_[XmlUri] = "xml";
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

void CXmlNamespaces::add(std::string_view ns)
{
    if (ns.empty() || prefixes_.count(ns) != 0)
        return;
    order_.emplace_back(ns);
    prefixes_.emplace(order_.back(), "ns" + std::to_string(order_.size()));
}

std::string_view CXmlNamespaces::prefixOf(std::string_view ns) const
{
    const auto found = prefixes_.find(ns);
    return found == prefixes_.end() ? std::string_view() : std::string_view(found->second);
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
    for (const std::string& ns : order_)
        text.append(" xmlns:").append(prefixOf(ns)).append("=\"").append(xmlEscaped(ns)).append("\"");
    return text;
}
