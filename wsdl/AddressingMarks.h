#ifndef KELVANE_WSDL_ADDRESSINGMARKS_H
#define KELVANE_WSDL_ADDRESSINGMARKS_H

#include <string>
#include <string_view>
#include <unordered_set>

class XmlPullParser;

namespace Wsdl {

// Where a document asks for WS-Addressing in place: the Action attributes of
// an operation's messages, and the UsingAddressing (or Addressing) element of
// a binding or a port (a policy's assertion is the policies' to read). Any of
// the namespaces in use is taken: the metadata one, the WSDL binding one, the
// 1.0 core and the 2004/08 submission.
class AddressingMarks {
public:
    static bool isAddressingNamespace(std::string_view ns);
    // Whether the element the parser stands on is UsingAddressing or Addressing.
    static bool isAssertion(const XmlPullParser& xpp);
    // The Action attribute of the element the parser stands on; empty without.
    static std::string actionOf(const XmlPullParser& xpp);

    // Reads the extensibility element the parser stands on up to its end tag
    // when it is such an assertion, and says so; reads nothing of any other
    // element. owner is the binding it stands in (a port's binding), or null.
    bool readMark(XmlPullParser& xpp, const void* owner);
    // Whether owner was marked.
    bool marks(const void* owner) const { return marked_.count(owner) != 0; }

private:
    std::unordered_set<const void*> marked_;
};

} // namespace Wsdl

#endif
