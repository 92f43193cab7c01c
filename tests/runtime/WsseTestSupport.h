// What the WS-Security tests share: an envelope secured by the support
// library, read back with libxml2 and asked with XPath.
#ifndef KELVANE_TESTS_RUNTIME_WSSETESTSUPPORT_H
#define KELVANE_TESTS_RUNTIME_WSSETESTSUPPORT_H

#include "tessaro_wsse.h"

#include <libxml/parser.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace wssetest {

const char* const Soap11 = "http://schemas.xmlsoap.org/soap/envelope/";
const char* const Soap12 = "http://www.w3.org/2003/05/soap-envelope";

// An envelope of the version's namespace around the body's content, with the header's content
// in a Header when it is not empty.
inline std::string envelope(const char* ns, const std::string& body, const std::string& header = "")
{
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<env:Envelope xmlns:env=\"") + ns + "\">" +
           (header.empty() ? "" : "<env:Header>" + header + "</env:Header>") + "<env:Body>" + body +
           "</env:Body></env:Envelope>";
}

// The message secured as the settings ask, or "" with why.
inline std::string secure(const tessaro_wsse_t& settings, const std::string& xml, std::string* why = nullptr)
{
    char* out = nullptr;
    size_t length = 0;
    char reason[256] = "";
    if (tessaro_wsse_secure(&settings, xml.data(), xml.size(), &out, &length, reason, sizeof(reason)) != 0) {
        if (why != nullptr)
            *why = reason;
        return "";
    }
    std::string text(out, length);
    std::free(out);
    return text;
}

// A document to ask with XPath under the prefixes env (the envelope's namespace), wsse, wsu, ds.
class Doc {
public:
    explicit Doc(const std::string& xml)
        : doc_(xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr, XML_PARSE_NONET), xmlFreeDoc)
    {
    }
    bool ok() const { return doc_ != nullptr; }
    // The string value of the expression ("" for none).
    std::string text(const std::string& expression) const
    {
        return evaluate("string(" + expression + ")");
    }
    // How many nodes the expression selects.
    int count(const std::string& expression) const
    {
        return std::atoi(evaluate("string(count(" + expression + "))").c_str());
    }

private:
    std::string evaluate(const std::string& expression) const
    {
        if (!doc_)
            return "";
        std::unique_ptr<xmlXPathContext, decltype(&xmlXPathFreeContext)> context(xmlXPathNewContext(doc_.get()),
                                                                                 xmlXPathFreeContext);
        xmlNodePtr root = xmlDocGetRootElement(doc_.get());
        const char* env = root != nullptr && root->ns != nullptr ? reinterpret_cast<const char*>(root->ns->href) : "";
        const char* const prefixes[][2] = {
            {"env", env},
            {"wsse", "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-secext-1.0.xsd"},
            {"wsu", "http://docs.oasis-open.org/wss/2004/01/oasis-200401-wss-wssecurity-utility-1.0.xsd"},
            {"ds", "http://www.w3.org/2000/09/xmldsig#"}};
        for (const auto& prefix : prefixes)
            xmlXPathRegisterNs(context.get(), BAD_CAST prefix[0], BAD_CAST prefix[1]);
        std::unique_ptr<xmlXPathObject, decltype(&xmlXPathFreeObject)> result(
            xmlXPathEvalExpression(BAD_CAST expression.c_str(), context.get()), xmlXPathFreeObject);
        if (!result || result->type != XPATH_STRING || result->stringval == nullptr)
            return "";
        return reinterpret_cast<const char*>(result->stringval);
    }

    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc_;
};

} // namespace wssetest

#endif
