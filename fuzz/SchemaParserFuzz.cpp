// The schema reader on one schema document read from memory: it reads the
// schema and settles its references, or says why not through one of its
// exceptions or its log. Anything else is a finding.

#include "fuzz/FuzzFile.h"
#include "schema/SchemaParser.h"
#include "schema/SchemaParserException.h"
#include "xml/XmlPullParser.h"
#include "xml/XmlPullParserException.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    refuseDownloads();
    std::istringstream input(std::string(reinterpret_cast<const char*>(data), size));
    XmlPullParser reader(input);
    reader.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
    std::ostringstream log;
    try {
        Schema::SchemaParser parser(&reader, "urn:fuzz", log);
        if (parser.parseSchemaTag())
            parser.finalize();
    } catch (const XmlPullParserException&) {
    } catch (const Schema::SchemaParserException&) {
    }
    return 0;
}
