#ifndef KELVANE_XML_XMLPULLPARSEREXCEPTION_H
#define KELVANE_XML_XMLPULLPARSEREXCEPTION_H

#include <string>

// Thrown by value by XmlPullParser for every malformed input or misuse.
// Callers read the four fields directly.
class XmlPullParserException {
public:
    XmlPullParserException(const std::string& message, const std::string& stateName, int lineNumber,
                           int columnNumber)
        : description("Xml Parser Exception : " + message), state(stateName), line(lineNumber),
          column(columnNumber)
    {
    }

    std::string description; // "Xml Parser Exception : " + message
    std::string state;       // name of the event type current when the error was found
    int line;
    int column;
};

#endif
