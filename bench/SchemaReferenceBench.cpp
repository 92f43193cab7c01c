// Settling of element references: a schema whose types refer to global
// elements declared after them (every reference waits and is settled at the
// end of the schema) against the same schema with the declarations first
// (every reference is looked up at once). Both grow with the count; the ratio
// shows what waiting costs, and stays flat while settling is linear.
#include "schema/SchemaParser.h"
#include "xml/XmlPullParser.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

constexpr int kRounds = 3;
constexpr int kCounts[] = {2000, 8000, 16000};

std::string makeSchema(int count, bool declarationsFirst)
{
    std::string types;
    std::string declarations;
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        types += "<xs:complexType name=\"T" + n + "\"><xs:sequence><xs:element ref=\"tns:e" + n +
            "\" maxOccurs=\"unbounded\"/></xs:sequence></xs:complexType>\n";
        declarations += "<xs:element name=\"e" + n + "\" type=\"xs:int\"/>\n";
    }
    return "<xs:schema xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" xmlns:tns=\"urn:b\" targetNamespace=\"urn:b\">\n" +
        (declarationsFirst ? declarations + types : types + declarations) + "</xs:schema>\n";
}

double seconds(const std::string& text)
{
    const auto start = std::chrono::steady_clock::now();
    std::istringstream input(text);
    XmlPullParser reader(input);
    reader.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
    std::ostringstream log;
    Schema::SchemaParser parser(&reader, "", log);
    if (!parser.parseSchemaTag()) {
        std::fprintf(stderr, "parse failed: %s\n", log.str().c_str());
        std::exit(1);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main()
{
    std::printf("Element references: forward (declared after the types, settled at the end) against backward "
                "(declared before, looked up at once), best of %d\n",
                kRounds);
    std::printf("%10s %14s %14s %7s\n", "references", "forward ms", "backward ms", "ratio");
    for (const int count : kCounts) {
        const std::string forward = makeSchema(count, false);
        const std::string backward = makeSchema(count, true);
        double waiting = 1e100;
        double immediate = 1e100;
        for (int round = 0; round < kRounds; ++round) {
            waiting = std::min(waiting, seconds(forward));
            immediate = std::min(immediate, seconds(backward));
        }
        std::printf("%10d %14.1f %14.1f %7.2f\n", count, waiting * 1000.0, immediate * 1000.0, waiting / immediate);
    }
    return 0;
}
