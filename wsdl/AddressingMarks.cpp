#include "wsdl/AddressingMarks.h"

#include "xml/XmlPullParser.h"

namespace Wsdl {

namespace {

constexpr std::string_view AddressingNamespaces[] = {
    "http://www.w3.org/2007/05/addressing/metadata", "http://www.w3.org/2006/05/addressing/wsdl",
    "http://www.w3.org/2005/08/addressing", "http://schemas.xmlsoap.org/ws/2004/08/addressing"};

} // namespace

bool AddressingMarks::isAddressingNamespace(std::string_view ns)
{
    for (std::string_view known : AddressingNamespaces) {
        if (ns == known)
            return true;
    }
    return false;
}

bool AddressingMarks::isAssertion(const XmlPullParser& xpp)
{
    return isAddressingNamespace(xpp.getNamespace()) && (xpp.getName() == "UsingAddressing" || xpp.getName() == "Addressing");
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
    if (!isAssertion(xpp))
        return false;
    if (owner != nullptr)
        marked_.insert(owner);
    xpp.skipSubTree();
    return true;
}

} // namespace Wsdl
