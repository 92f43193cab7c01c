// The XML pull parser over any bytes: every event is read with its name,
// text and attributes until the end of the document or a parse exception;
// anything else (a crash, a sanitizer report, another exception) is a finding.

#include "xml/XmlPullParser.h"
#include "xml/XmlPullParserException.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
    XmlPullParser parser(input);
    parser.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, size % 2 == 0);
    try {
        for (int event = parser.getEventType(); event != XmlPullParser::END_DOCUMENT; event = parser.nextToken()) {
            // The text is made on demand: asking for it runs that code too.
            parser.getText();
            if (event != XmlPullParser::START_TAG)
                continue;
            for (int i = 0; i < parser.getAttributeCount(); ++i) {
                parser.getAttributeValue(i);
                parser.getAttributeNamespace(i);
            }
        }
    } catch (const XmlPullParserException&) {
    }
    return 0;
}
