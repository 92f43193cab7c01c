#ifndef KELVANE_TESTS_SUPPORT_PULLPARSERTRACE_H
#define KELVANE_TESTS_SUPPORT_PULLPARSERTRACE_H

#include "xml/XmlPullParser.h"

#include <istream>
#include <string>

// Compact text forms of pull parser events, for comparing event sequences.
namespace PullParserTrace {

inline std::string qualified(const std::string& nameSpace, const std::string& name)
{
    return nameSpace.empty() ? name : "{" + nameSpace + "}" + name;
}

// "<{ns}name a="1">", "</{ns}name>", "T:text", "COMMENT:text", "END" ...
inline std::string describe(const XmlPullParser& p, bool withPosition)
{
    std::string s;
    switch (p.getEventType()) {
    case XmlPullParser::START_TAG:
        s = "<" + qualified(p.getNamespace(), p.getName());
        for (int i = 0; i < p.getAttributeCount(); ++i) {
            s += " " + qualified(p.getAttributeNamespace(i), p.getAttributeName(i)) + "=\"" +
                 p.getAttributeValue(i) + "\"";
        }
        s += ">";
        break;
    case XmlPullParser::END_TAG:
        s = "</" + qualified(p.getNamespace(), p.getName()) + ">";
        break;
    case XmlPullParser::END_DOCUMENT:
        s = "END";
        break;
    case XmlPullParser::TEXT:
        s = "T:" + p.getText();
        break;
    case XmlPullParser::ENTITY_REF:
        s = "ENTITY_REF:" + p.getName() + "=" + p.getText();
        break;
    case XmlPullParser::IGNORABLE_WHITESPACE:
        s = "WS:" + p.getText();
        break;
    default:
        s = XmlPullParser::getEventName(p.getEventType()) + ":" + p.getText();
        break;
    }
    if (withPosition) {
        s += "@" + std::to_string(p.getLineNumber()) + ":" + std::to_string(p.getColumnNumber()) + "/" +
             std::to_string(p.getDepth());
    }
    return s;
}

inline std::string describe(const XmlPullParserException& e, bool withPosition)
{
    std::string s = "ERROR:" + e.description;
    if (withPosition) {
        s += "@" + std::to_string(e.line) + ":" + std::to_string(e.column) + " " + e.state;
    }
    return s;
}

// Every event of the document joined with '|', ending in "END" or an error.
inline std::string trace(std::istream& in, bool tokens, bool withPosition, bool processNamespaces = true)
{
    XmlPullParser parser(in);
    parser.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, processNamespaces);
    std::string out;
    try {
        for (;;) {
            int event = tokens ? parser.nextToken() : parser.next();
            out += describe(parser, withPosition);
            if (event == XmlPullParser::END_DOCUMENT) {
                return out;
            }
            out += "|";
        }
    } catch (const XmlPullParserException& e) {
        return out + describe(e, withPosition);
    }
}

} // namespace PullParserTrace

#endif
