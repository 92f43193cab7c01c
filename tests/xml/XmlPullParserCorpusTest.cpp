#include "xml/XmlPullParser.h"

#include "support/CorpusManifest.h"
#include "support/OneByteStreamBuf.h"
#include "support/PullParserTrace.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string& kCorpus = testsupport::CorpusFolder;

struct CorpusFile {
    std::string path;
    bool wellFormed;
};

std::vector<CorpusFile> manifest()
{
    std::vector<CorpusFile> files;
    for (const auto& entry : testsupport::corpusManifest()) {
        const bool wellFormed = entry.notes.find("xmllint: well-formed") != std::string::npos;
        const bool malformed = entry.notes.find("xmllint: NOT well-formed") != std::string::npos;
        EXPECT_NE(wellFormed, malformed) << entry.path;
        files.push_back({entry.path, wellFormed});
    }
    return files;
}

// Files whose outcome differs from the verdict of a validating, encoding-aware
// reader, and why.
const std::map<std::string, std::string> kDeliberateOutcomes = {
    // Bytes are characters: a UTF-16 document is refused up front, not misread.
    {"derived-malformed/telefonkatalogen_utf16le_bom.wsdl", "UTF-16 input is not supported"},
    // External entities are never fetched, so the reference stays unresolved.
    {"xroad/xxe.wsdl", "unresolved: &data;"},
    // Bytes are characters: ISO-8859-1 bytes inside a comment are not checked.
    {"derived-malformed/blz_service_latin1_bytes.wsdl", ""},
};

struct Outcome {
    int startTags = 0;
    bool ended = false;
    std::string error;
    int line = 0;
    int column = 0;
};

Outcome parse(std::istream& in)
{
    XmlPullParser parser(in);
    parser.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
    Outcome outcome;
    try {
        for (int e = parser.next(); e != XmlPullParser::END_DOCUMENT; e = parser.next()) {
            outcome.startTags += e == XmlPullParser::START_TAG;
        }
        outcome.ended = true;
    } catch (const XmlPullParserException& e) {
        outcome.error = e.description.substr(std::string("Xml Parser Exception : ").size());
        outcome.line = e.line;
        outcome.column = e.column;
    }
    return outcome;
}

// Every document also gives the same events, positions and errors whether the stream delivers
// it in blocks or one byte per read.
TEST(XmlPullParserCorpusTest, WellFormedDocumentsEndAndMalformedOnesFailWithAPosition)
{
    std::vector<CorpusFile> files = manifest();
    ASSERT_GT(files.size(), 100u);
    for (const auto& file : files) {
        ASSERT_TRUE(std::ifstream(kCorpus + file.path)) << file.path;
        const std::string data = testsupport::readBytes(kCorpus + file.path);
        std::istringstream whole(data), block(data);
        OneByteStreamBuf buffer(data);
        std::istream oneByte(&buffer);
        EXPECT_EQ(PullParserTrace::trace(whole, true, true), PullParserTrace::trace(oneByte, true, true)) << file.path;
        Outcome outcome = parse(block);
        auto deliberate = kDeliberateOutcomes.find(file.path);
        if (deliberate != kDeliberateOutcomes.end()) {
            EXPECT_EQ(deliberate->second, outcome.error) << file.path;
            EXPECT_EQ(deliberate->second.empty(), outcome.ended) << file.path;
        } else if (file.wellFormed) {
            EXPECT_TRUE(outcome.ended) << file.path << ": " << outcome.error << " at " << outcome.line << ":"
                                       << outcome.column;
            EXPECT_GT(outcome.startTags, 0) << file.path;
        } else {
            EXPECT_FALSE(outcome.ended) << file.path;
            EXPECT_GT(outcome.line, 0) << file.path;
            EXPECT_GT(outcome.column, 0) << file.path;
        }
    }
}

TEST(XmlPullParserCorpusTest, MalformedDocumentsFailWhereExpected)
{
    struct Expected {
        const char* path;
        const char* error;
        int line;
    };
    const Expected cases[] = {
        {"derived-malformed/TrackService_v16_truncated.wsdl", "Unexpected EOF", 1102},
        {"savon/no_message_tag.xml", "PI must not start with xml", 2},
        {"xroad/invalid.wsdl", "text not allowed outside root element", 1},
    };
    for (const auto& c : cases) {
        std::ifstream in(kCorpus + c.path, std::ios::binary);
        Outcome outcome = parse(in);
        EXPECT_EQ(c.error, outcome.error) << c.path;
        EXPECT_EQ(c.line, outcome.line) << c.path;
    }
}

} // namespace
