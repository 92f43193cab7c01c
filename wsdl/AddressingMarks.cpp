#include "wsdl/AddressingMarks.h"

#include "xml/XmlPullParser.h"

namespace Wsdl {

namespace {

constexpr std::string_view AddressingNamespaces[] = {
    "http://www.w3.org/2007/05/addressing/metadata", "http://www.w3.org/2006/05/addressing/wsdl",
    "http://www.w3.org/2005/08/addressing", "http://schemas.xmlsoap.org/ws/2004/08/addressing"};
constexpr std::string_view PolicyNamespaces[] = {"http://www.w3.org/ns/ws-policy",
                                                 "http://schemas.xmlsoap.org/ws/2004/09/policy"};

bool isPolicyNamespace(std::string_view ns)
{
    for (std::string_view known : PolicyNamespaces) {
        if (ns == known)
            return true;
    }
    return false;
}

bool isAddressingAssertion(const XmlPullParser& xpp)
{
    return AddressingMarks::isAddressingNamespace(xpp.getNamespace()) &&
        (xpp.getName() == "UsingAddressing" || xpp.getName() == "Addressing");
}

// A policy's Id, whichever namespace qualifies it (wsu:Id, xml:id, Id).
std::string policyId(const XmlPullParser& xpp)
{
    for (int i = 0; i < xpp.getAttributeCount(); ++i) {
        const std::string& name = xpp.getAttributeName(i);
        if (name == "Id" || name == "id")
            return xpp.getAttributeValue(i);
    }
    return std::string();
}

} // namespace

bool AddressingMarks::isAddressingNamespace(std::string_view ns)
{
    for (std::string_view known : AddressingNamespaces) {
        if (ns == known)
            return true;
    }
    return false;
}

std::string AddressingMarks::actionOf(const XmlPullParser& xpp)
{
    for (int i = 0; i < xpp.getAttributeCount(); ++i) {
        if (xpp.getAttributeName(i) == "Action" && isAddressingNamespace(xpp.getAttributeNamespace(i)))
            return xpp.getAttributeValue(i);
    }
    return std::string();
}

bool AddressingMarks::readMark(XmlPullParser& xpp, const void* owner)
{
    if (isAddressingAssertion(xpp)) {
        if (owner != nullptr)
            marked_.insert(owner);
        xpp.skipSubTree();
        return true;
    }
    if (!isPolicyNamespace(xpp.getNamespace()))
        return false;
    if (xpp.getName() == "PolicyReference") {
        reference(xpp, owner);
        xpp.skipSubTree();
        return true;
    }
    if (xpp.getName() != "Policy")
        return false;
    readPolicy(xpp, owner);
    return true;
}

// An assertion anywhere in the policy (its alternatives and nested policies
// included) turns addressing on; the references it holds are the owner's.
void AddressingMarks::readPolicy(XmlPullParser& xpp, const void* owner)
{
    const std::string id = policyId(xpp);
    bool assertion = false;
    for (int level = 1; level > 0;) {
        const int event = xpp.next();
        if (event == XmlPullParser::END_DOCUMENT)
            break;
        if (event == XmlPullParser::END_TAG) {
            --level;
            continue;
        }
        if (event != XmlPullParser::START_TAG)
            continue;
        ++level;
        if (isAddressingAssertion(xpp))
            assertion = true;
        else if (isPolicyNamespace(xpp.getNamespace()) && xpp.getName() == "PolicyReference")
            reference(xpp, owner);
    }
    if (assertion && owner != nullptr)
        marked_.insert(owner);
    if (assertion && !id.empty())
        addressingPolicies_.insert(id);
}

void AddressingMarks::reference(const XmlPullParser& xpp, const void* owner)
{
    const std::string& uri = xpp.getAttributeValue("", "URI");
    if (owner != nullptr && uri.size() > 1 && uri[0] == '#')
        references_.emplace(owner, uri.substr(1));
}

bool AddressingMarks::marks(const void* owner) const
{
    if (marked_.count(owner) != 0)
        return true;
    const auto [begin, end] = references_.equal_range(owner);
    for (auto it = begin; it != end; ++it) {
        if (addressingPolicies_.count(it->second) != 0)
            return true;
    }
    return false;
}

} // namespace Wsdl
