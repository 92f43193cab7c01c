#ifndef KELVANE_GENERATOR_MODEL_XMLNAMESPACES_H
#define KELVANE_GENERATOR_MODEL_XMLNAMESPACES_H

#include "generator/model/ServiceView.h"

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The prefixes of the namespaces a generated message uses. Every envelope
// declares them all once, so that each element and xsi:type inside names
// its namespace by prefix: the envelope's own (SOAP-ENV, SOAP-ENC, xsd,
// xsi, and xml, which needs no declaration) and "ns1", "ns2" ... for the
// schemas' and the soap:body namespaces, in the order the view first
// names them.
class CXmlNamespaces {
public:
    static constexpr const char* EnvelopeUri = "http://schemas.xmlsoap.org/soap/envelope/";
    static constexpr const char* Envelope12Uri = "http://www.w3.org/2003/05/soap-envelope";
    static constexpr const char* InstanceUri = "http://www.w3.org/2001/XMLSchema-instance";
    // SOAP 1.2's encoding, declared on the rpc wrapper of the messages that use it.
    static constexpr const char* Encoding12Uri = "http://www.w3.org/2003/05/soap-encoding";
    static constexpr const char* Encoding12Prefix = "enc";

    explicit CXmlNamespaces(const CServiceView& view);
    // The index past sixteen namespaces keys views of the texts held here:
    // a copy would look them up in the original.
    CXmlNamespaces(const CXmlNamespaces&) = delete;
    CXmlNamespaces& operator=(const CXmlNamespaces&) = delete;
    CXmlNamespaces(CXmlNamespaces&&) = default;
    CXmlNamespaces& operator=(CXmlNamespaces&&) = default;

    // "<prefix>:<local>" for a name in ns; local alone for a name in no namespace.
    std::string qualifiedName(std::string_view ns, std::string_view local) const;
    // The qualified name of a type for xsi:type and arrayType: "xsd:int",
    // "ns1:Order"; empty for an unknown or anonymous type.
    std::string typeName(const CTypeRef& type) const;
    // " xmlns:ns1=\"...\"" for every namespace of the view, escaped.
    std::string declarations() const;
    // Every namespace of the view (the envelope's own aside), in prefix order.
    std::vector<std::string_view> serviceNamespaces() const;

private:
    struct CPrefix {
        std::string ns;
        std::string prefix;
    };

    void add(std::string_view ns, std::string prefix);
    // True when ns is new and gets the next "nsN".
    bool add(std::string_view ns);
    std::string_view prefixOf(std::string_view ns) const;

    // A service names a handful: a look-up reads them in turn, without a
    // tree or a hash to walk for each of the many names written. Past this
    // many, a look-up goes through the index instead.
    static constexpr std::size_t ScannedAtMost = 16;

    // The envelope's own first, then the view's in the order it names them.
    // Entries never move: the index views their texts.
    std::deque<CPrefix> prefixes_;
    std::unordered_map<std::string_view, std::size_t> index_; // empty up to ScannedAtMost

};

#endif
