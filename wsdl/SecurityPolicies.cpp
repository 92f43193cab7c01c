#include "wsdl/SecurityPolicies.h"

#include "wsdl/AddressingMarks.h"
#include "xml/XmlPullParser.h"

#include <algorithm>
#include <string_view>

namespace Wsdl {

namespace {

const char* const WsuUri = "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd";

bool isPolicyNamespace(std::string_view uri)
{
    return uri == "http://schemas.xmlsoap.org/ws/2004/09/policy" || uri == "http://www.w3.org/ns/ws-policy";
}

// The security policy namespaces: the 2005 submission and the OASIS versions.
bool isSecurityPolicyNamespace(std::string_view uri)
{
    return uri == "http://schemas.xmlsoap.org/ws/2005/07/securitypolicy" ||
           uri.rfind("http://docs.oasis-open.org/ws-sx/ws-securitypolicy/", 0) == 0;
}

// The assertions that say what a request must carry.
bool isReported(std::string_view name)
{
    static const std::string_view reported[] = {
        "TransportBinding", "SymmetricBinding", "AsymmetricBinding", "HttpsToken", "UsernameToken", "X509Token",
        "IssuedToken", "KerberosToken", "SamlToken", "SecureConversationToken", "SpnegoContextToken", "RsaToken",
        "KeyValueToken", "HashPassword", "IncludeTimestamp", "SignedParts", "EncryptedParts", "SignedSupportingTokens",
        "EndorsingSupportingTokens", "SignedEndorsingSupportingTokens", "SupportingTokens"};
    return std::find(std::begin(reported), std::end(reported), name) != std::end(reported);
}

// A policy may refer to another at most this deep (a ring of references ends there).
constexpr int MaxDepth = 8;

} // namespace

bool SecurityPolicies::read(XmlPullParser& reader, const std::string& owner)
{
    if (!isPolicyNamespace(reader.getNamespace()))
        return false;
    // a copy: the reader's attributes change as it reads on
    const std::string id = reader.getAttributeValue(WsuUri, "Id");
    Policy policy;
    readInto(reader, policy);
    if (!id.empty()) {
        byId_["#" + id] = policy;
        if (owner.empty())
            return true;
        policy = Policy();
        policy.references.push_back("#" + id);
    }
    if (owner.empty())
        return true;
    Policy& owned = byOwner_[owner];
    owned.assertions.insert(owned.assertions.end(), policy.assertions.begin(), policy.assertions.end());
    owned.references.insert(owned.references.end(), policy.references.begin(), policy.references.end());
    owned.addressing = owned.addressing || policy.addressing;
    return true;
}

void SecurityPolicies::readInto(XmlPullParser& reader, Policy& policy)
{
    const int depth = reader.getDepth();
    for (int event = reader.getEventType(); event != XmlPullParser::END_DOCUMENT;) {
        if (event == XmlPullParser::START_TAG) {
            if (isPolicyNamespace(reader.getNamespace()) && reader.getName() == "PolicyReference")
                policy.references.push_back(reader.getAttributeValue("", "URI"));
            else if (isSecurityPolicyNamespace(reader.getNamespace()) && isReported(reader.getName()))
                policy.assertions.push_back(reader.getName());
            else if (AddressingMarks::isAssertion(reader))
                policy.addressing = true;
        } else if (event == XmlPullParser::END_TAG && reader.getDepth() == depth) {
            return;
        }
        event = reader.next();
    }
}

void SecurityPolicies::collect(const Policy& policy, int depth, std::vector<std::string>& names) const
{
    for (const std::string& name : policy.assertions) {
        if (std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    }
    for (const std::string& reference : policy.references) {
        const auto found = byId_.find(reference);
        if (found != byId_.end() && depth < MaxDepth)
            collect(found->second, depth + 1, names);
    }
}

bool SecurityPolicies::addresses(const Policy& policy, int depth) const
{
    if (policy.addressing)
        return true;
    for (const std::string& reference : policy.references) {
        const auto found = byId_.find(reference);
        if (found != byId_.end() && depth < MaxDepth && addresses(found->second, depth + 1))
            return true;
    }
    return false;
}

bool SecurityPolicies::asksForAddressing(const std::string& owner) const
{
    const auto found = byOwner_.find(owner);
    return found != byOwner_.end() && addresses(found->second, 0);
}

std::vector<std::string> SecurityPolicies::of(const std::string& owner) const
{
    std::vector<std::string> names;
    const auto found = byOwner_.find(owner);
    if (found != byOwner_.end())
        collect(found->second, 0, names);
    return names;
}

} // namespace Wsdl
