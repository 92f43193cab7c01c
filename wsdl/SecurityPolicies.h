#ifndef KELVANE_WSDL_SECURITYPOLICIES_H
#define KELVANE_WSDL_SECURITYPOLICIES_H

#include <map>
#include <string>
#include <vector>

class XmlPullParser;

namespace Wsdl {

// The WS-SecurityPolicy assertions a document's policies make, kept so that
// the user can be told which tokens a binding asks for: the security
// bindings, tokens, timestamps and signed or encrypted parts (by local
// name, in document order), and whether they ask for WS-Addressing (its
// Addressing or UsingAddressing assertion); nothing else of the policy.
class SecurityPolicies {
public:
    // Reads the policy element the reader stands on (wsp:Policy or
    // wsp:PolicyReference of either policy namespace) through its end tag:
    // a Policy with a wsu:Id is kept under "#id", and one inside a binding
    // (owner, its name; empty outside one) counts for the binding as a
    // reference does. False, and nothing read, for any other element.
    bool read(XmlPullParser& reader, const std::string& owner);

    // The assertions of a binding's own policies and of those they refer to
    // in the document, each name once.
    std::vector<std::string> of(const std::string& owner) const;
    // Whether a binding's own policies, or those they refer to, ask for WS-Addressing.
    bool asksForAddressing(const std::string& owner) const;

private:
    struct Policy {
        std::vector<std::string> assertions;
        std::vector<std::string> references;
        bool addressing = false;
    };

    void readInto(XmlPullParser& reader, Policy& policy);
    void collect(const Policy& policy, int depth, std::vector<std::string>& names) const;
    bool addresses(const Policy& policy, int depth) const;

    std::map<std::string, Policy> byId_;
    std::map<std::string, Policy> byOwner_;
};

} // namespace Wsdl

#endif
