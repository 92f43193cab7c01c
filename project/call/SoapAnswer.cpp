// Reading an answer for the user: its fault in words, and the answer indented.
#include "project/call/SoapAnswer.h"

#include "project/call/XmlEcho.h"
#include "xml/XmlPullParser.h"

#include <sstream>

namespace {

const char* const kSoap11 = "http://schemas.xmlsoap.org/soap/envelope/";
const char* const kSoap12 = "http://www.w3.org/2003/05/soap-envelope";

bool isTrimmable(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string trimmed(const std::string& text)
{
    std::string::size_type first = 0;
    std::string::size_type last = text.size();
    while (first < last && isTrimmable(text[first]))
        ++first;
    while (last > first && isTrimmable(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

// The text of the element the parser stands on, its child elements skipped;
// the parser is left on its end.
std::string textOf(XmlPullParser& xpp)
{
    std::string text;
    for (int event = xpp.next(); event != XmlPullParser::END_TAG; event = xpp.next()) {
        if (event == XmlPullParser::START_TAG)
            xpp.skipSubTree();
        else if (event == XmlPullParser::TEXT)
            text += xpp.getText();
        else if (event == XmlPullParser::END_DOCUMENT)
            break;
    }
    return trimmed(text);
}

// The content of the element the parser stands on, as indented XML.
std::string contentOf(XmlPullParser& xpp)
{
    std::string content;
    if (xpp.isEmptyElementTag()) {
        xpp.nextToken();
        return content;
    }
    for (int event = xpp.nextToken(); event != XmlPullParser::END_TAG; event = xpp.nextToken()) {
        if (event == XmlPullParser::END_DOCUMENT)
            break;
        const std::unique_ptr<XmlEcho> node = XmlEcho::read(xpp);
        if (node->blank())
            continue;
        if (!content.empty())
            content += "\n";
        if (node->kind() == XmlEcho::Text)
            content += trimmed(xpp.getText());
        else
            node->write(content, 0);
    }
    return content;
}

// Each child element of the one the parser stands on, in turn; the parser
// stands on the child's start and must be left on its end.
template <class Visit>
void forEachChild(XmlPullParser& xpp, Visit visit)
{
    for (int event = xpp.nextTag(); event == XmlPullParser::START_TAG; event = xpp.nextTag())
        visit();
}

// A SOAP 1.2 Code or Subcode: its Value, and the Subcodes inside it.
void readCode(XmlPullParser& xpp, SoapFaultWords& fault, bool subcode)
{
    forEachChild(xpp, [&] {
        if (xpp.getName() == "Value") {
            std::string& target = subcode ? fault.subcode : fault.code;
            target += (target.empty() ? "" : " / ") + textOf(xpp);
        } else if (xpp.getName() == "Subcode") {
            readCode(xpp, fault, true);
        } else {
            xpp.skipSubTree();
        }
    });
}

void readFault11(XmlPullParser& xpp, SoapFaultWords& fault)
{
    forEachChild(xpp, [&] {
        const std::string& name = xpp.getName();
        if (name == "faultcode")
            fault.code = textOf(xpp);
        else if (name == "faultstring")
            fault.text = textOf(xpp);
        else if (name == "detail")
            fault.detail = contentOf(xpp);
        else
            xpp.skipSubTree();
    });
}

void readFault12(XmlPullParser& xpp, SoapFaultWords& fault)
{
    forEachChild(xpp, [&] {
        const std::string& name = xpp.getName();
        if (name == "Code") {
            readCode(xpp, fault, false);
        } else if (name == "Reason") {
            forEachChild(xpp, [&] {
                const std::string text = textOf(xpp);
                if (fault.text.empty())
                    fault.text = text;
            });
        } else if (name == "Detail") {
            fault.detail = contentOf(xpp);
        } else {
            xpp.skipSubTree();
        }
    });
}

// Stands the parser on the first element of the envelope's Body; false
// when the document is no SOAP envelope or its body is empty.
bool enterBody(XmlPullParser& xpp, std::string& envelopeNamespace)
{
    if (xpp.nextTag() != XmlPullParser::START_TAG || xpp.getName() != "Envelope")
        return false;
    envelopeNamespace = xpp.getNamespace();
    if (envelopeNamespace != kSoap11 && envelopeNamespace != kSoap12)
        return false;
    for (int event = xpp.nextTag(); event == XmlPullParser::START_TAG; event = xpp.nextTag()) {
        if (xpp.getName() == "Body" && xpp.getNamespace() == envelopeNamespace)
            return xpp.nextTag() == XmlPullParser::START_TAG;
        xpp.skipSubTree();
    }
    return false;
}

void appendLine(std::string& out, const char* label, const std::string& value)
{
    if (!value.empty())
        out += std::string(label) + value + "\n";
}

}  // namespace

std::string SoapFaultWords::plain() const
{
    if (!isFault)
        return std::string();
    std::string words = "The service answered with a fault.\n";
    appendLine(words, "Code: ", code);
    appendLine(words, "Subcode: ", subcode);
    appendLine(words, "Reason: ", text);
    if (!detail.empty())
        words += "Detail:\n" + detail + "\n";
    return words;
}

SoapFaultWords readFault(const std::string& body)
{
    SoapFaultWords fault;
    std::istringstream in(body);
    try {
        XmlPullParser xpp(in);
        xpp.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
        std::string envelopeNamespace;
        if (!enterBody(xpp, envelopeNamespace) || xpp.getName() != "Fault"
            || xpp.getNamespace() != envelopeNamespace)
            return fault;
        fault.isFault = true;
        if (envelopeNamespace == kSoap11)
            readFault11(xpp, fault);
        else
            readFault12(xpp, fault);
    } catch (const XmlPullParserException&) {
        // What was read of a fault before the document broke off stands.
    }
    return fault;
}

std::string indentXml(const std::string& xml)
{
    std::istringstream in(xml);
    std::string out;
    try {
        XmlPullParser xpp(in);
        xpp.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
        // The declaration is no event of the parser: it is kept as written.
        if (xml.compare(0, 5, "<?xml") == 0 && xml.find("?>") != std::string::npos)
            out = xml.substr(0, xml.find("?>") + 2);
        for (int event = xpp.nextToken(); event != XmlPullParser::END_DOCUMENT; event = xpp.nextToken()) {
            const std::unique_ptr<XmlEcho> node = XmlEcho::read(xpp);
            if (node->blank())
                continue;
            if (!out.empty())
                out += "\n";
            node->write(out, 0);
        }
    } catch (const XmlPullParserException&) {
        return xml;
    }
    return out;
}
