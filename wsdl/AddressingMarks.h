#ifndef KELVANE_WSDL_ADDRESSINGMARKS_H
#define KELVANE_WSDL_ADDRESSINGMARKS_H

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

class XmlPullParser;

namespace Wsdl {

// Where a document asks for WS-Addressing: the Action attributes of an
// operation's messages, and the marks that turn it on for a binding or a
// port (UsingAddressing, or the Addressing assertion of a policy written in
// place or referenced by its Id). Any of the namespaces in use is taken:
// the metadata one, the WSDL binding one and the 2004/08 submission.
class AddressingMarks {
public:
    static bool isAddressingNamespace(std::string_view ns);
    // The Action attribute of the element the parser stands on; empty without.
    static std::string actionOf(const XmlPullParser& xpp);

    // Reads the extensibility element the parser stands on up to its end tag
    // when it is an addressing mark, a policy or a policy reference, and says
    // so; reads nothing of any other element. owner is the binding or port it
    // stands in, null for the document's own policies.
    bool readMark(XmlPullParser& xpp, const void* owner);
    // Whether owner was marked, in place or through a policy it references.
    bool marks(const void* owner) const;

private:
    void readPolicy(XmlPullParser& xpp, const void* owner);
    void reference(const XmlPullParser& xpp, const void* owner);

    std::unordered_set<const void*> marked_;
    std::unordered_multimap<const void*, std::string> references_; // owner, the policy Id it names
    std::unordered_set<std::string> addressingPolicies_;             // Ids of policies that turn it on
};

} // namespace Wsdl

#endif
