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
    // Entities hold views of the view's one copy of each namespace. Once
    // every copy has its prefix, the rest of the walk over the entities
    // would add none and is left out. The target namespace is set aside:
    // when nothing else is left, it gets the same prefix at its own step.
    const std::string& target = view.targetNamespace();
    std::size_t left = view.namespaceCount();
    for (const CPrefix& entry : prefixes_)
        left -= view.holdsNamespace(entry.ns) ? 1 : 0;
    const bool targetLeft = view.holdsNamespace(target) && prefixOf(target).empty();
    left -= targetLeft ? 1 : 0;
    const auto name = [&](std::string_view ns) {
        if (add(ns) && !(targetLeft && ns == target))
            --left;
    };
    for (const CViewSchema& schema : view.schemas())
        name(schema.ns);
    for (auto element = view.elements().begin(); left > 0 && element != view.elements().end(); ++element)
        name(element->ns);
    for (auto type = view.types().begin(); left > 0 && type != view.types().end(); ++type) {
        name(type->ns);
        for (const CViewParticle& particle : type->particles)
            name(particle.ns);
        for (const CViewAttribute& attribute : type->attributes)
            name(attribute.ns);
    }
    add(target);
    for (auto portType = view.portTypes().begin(); left > 0 && portType != view.portTypes().end(); ++portType) {
        for (const CViewOperation& operation : portType->operations) {
            name(operation.in.bodyNamespace);
            name(operation.out.bodyNamespace);
        }
    }
}

void CXmlNamespaces::add(std::string_view ns, std::string prefix)
{
    prefixes_.push_back(CPrefix{std::string(ns), std::move(prefix)});
    if (prefixes_.size() <= ScannedAtMost)
        return;
    if (index_.empty()) {
        for (std::size_t i = 0; i < prefixes_.size(); ++i)
            index_.emplace(prefixes_[i].ns, i); // the first of equal texts stays, as a scan finds it
        return;
    }
    index_.emplace(prefixes_.back().ns, prefixes_.size() - 1);
}

bool CXmlNamespaces::add(std::string_view ns)
{
    if (ns.empty() || !prefixOf(ns).empty())
        return false;
    add(ns, "ns" + std::to_string(prefixes_.size() - EnvelopeCount + 1));
    return true;
}

std::string_view CXmlNamespaces::prefixOf(std::string_view ns) const
{
    if (!index_.empty()) {
        const auto found = index_.find(ns);
        return found == index_.end() ? std::string_view() : std::string_view(prefixes_[found->second].prefix);
    }
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

std::vector<std::string_view> CXmlNamespaces::serviceNamespaces() const
{
    std::vector<std::string_view> namespaces;
    for (std::size_t i = EnvelopeCount; i < prefixes_.size(); ++i)
        namespaces.push_back(prefixes_[i].ns);
    return namespaces;
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
