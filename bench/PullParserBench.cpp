// Parses one generated SOAP-like document of at least 50 MB from memory with
// the pull parser, expat and libxml2 (SAX2), each counting start tags, and
// prints the throughput of each. The last line holds the ratios of ours.
#include "xml/XmlPullParser.h"

#include <expat.h>
#include <libxml/parser.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kMinimumSize = 50u << 20;
constexpr int kRounds = 7;

std::string makeDocument()
{
    std::string doc;
    doc.reserve(kMinimumSize + (1u << 20));
    doc += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\"\n"
           "    xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:ord=\"urn:example:orders:v2\">\n"
           "  <soapenv:Header><ord:Session id=\"7f3a9c\" lang=\"en\"/></soapenv:Header>\n"
           "  <soapenv:Body>\n    <ord:OrderList>\n";
    for (unsigned i = 0; doc.size() < kMinimumSize; ++i) {
        std::string n = std::to_string(i);
        doc += "      <ord:Order id=\"" + n + "\" status=\"open\" xsi:type=\"ord:OrderType\">\n"
               "        <ord:Customer ord:ref=\"c" + n + "\">Smith &amp; Sons &lt;Ltd&gt; No. " + n +
               "</ord:Customer>\n"
               "        <ord:Item sku=\"A-" + n + "\" qty=\"3\">\n"
               "          <ord:Price currency=\"EUR\">12.50</ord:Price>\n"
               "          <ord:Note>Fragile &quot;glass&quot; &#8212; handle with care</ord:Note>\n"
               "        </ord:Item>\n"
               "        <ord:Shipping method=\"express\"><ord:Address>1 Long Road, Springfield</ord:Address>"
               "<ord:Empty/></ord:Shipping>\n"
               "      </ord:Order>\n";
    }
    doc += "    </ord:OrderList>\n  </soapenv:Body>\n</soapenv:Envelope>\n";
    return doc;
}

// A read-only stream buffer over memory; the parser's block reads copy from it.
class MemoryStreamBuf : public std::streambuf {
public:
    MemoryStreamBuf(const char* data, std::size_t size)
    {
        char* begin = const_cast<char*>(data);
        setg(begin, begin, begin + size);
    }
};

long countWithPullParser(const std::string& doc)
{
    MemoryStreamBuf buffer(doc.data(), doc.size());
    std::istream in(&buffer);
    XmlPullParser parser(in);
    parser.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
    long count = 0;
    for (int e = parser.next(); e != XmlPullParser::END_DOCUMENT; e = parser.next()) {
        count += e == XmlPullParser::START_TAG;
    }
    return count;
}

void XMLCALL expatStart(void* data, const XML_Char*, const XML_Char**)
{
    ++*static_cast<long*>(data);
}

long countWithExpat(const std::string& doc)
{
    long count = 0;
    XML_Parser parser = XML_ParserCreateNS(nullptr, '\x01');
    XML_SetUserData(parser, &count);
    XML_SetStartElementHandler(parser, expatStart);
    if (XML_Parse(parser, doc.data(), static_cast<int>(doc.size()), 1) != XML_STATUS_OK) {
        std::fprintf(stderr, "expat: %s\n", XML_ErrorString(XML_GetErrorCode(parser)));
        count = -1;
    }
    XML_ParserFree(parser);
    return count;
}

void libxml2Start(void* data, const xmlChar*, const xmlChar*, const xmlChar*, int, const xmlChar**, int, int,
                  const xmlChar**)
{
    ++*static_cast<long*>(data);
}

long countWithLibxml2(const std::string& doc)
{
    xmlSAXHandler handler{};
    handler.initialized = XML_SAX2_MAGIC;
    handler.startElementNs = libxml2Start;
    long count = 0;
    if (xmlSAXUserParseMemory(&handler, &count, doc.data(), static_cast<int>(doc.size())) != 0) {
        std::fprintf(stderr, "libxml2: parse failed\n");
        count = -1;
    }
    return count;
}

struct Contender {
    const char* name;
    long (*run)(const std::string&);
    double best = 1e100; // seconds
};

// Rounds alternate between the parsers so that a change in the machine's load
// hits all of them alike; the best time of each counts.
void measure(std::vector<Contender>& contenders, const std::string& doc, long expected)
{
    for (int round = 0; round < kRounds; ++round) {
        for (auto& c : contenders) {
            auto start = std::chrono::steady_clock::now();
            long count = c.run(doc);
            std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            if (count != expected) {
                std::fprintf(stderr, "%s counted %ld elements, expected %ld\n", c.name, count, expected);
                std::exit(1);
            }
            c.best = std::min(c.best, took.count());
        }
    }
}

double megabytesPerSecond(const Contender& c, const std::string& doc)
{
    return static_cast<double>(doc.size()) / (1024.0 * 1024.0) / c.best;
}

} // namespace

int main()
{
    std::string doc = makeDocument();
    std::printf("document: %.1f MB\n", static_cast<double>(doc.size()) / (1024.0 * 1024.0));
    long expected = countWithExpat(doc);
    if (expected <= 0) {
        return 1;
    }
    std::vector<Contender> contenders = {
        {"pull parser", countWithPullParser}, {"expat", countWithExpat}, {"libxml2", countWithLibxml2}};
    measure(contenders, doc, expected);
    for (const auto& c : contenders) {
        std::printf("%-12s %8.1f MB/s  (%ld elements, best of %d)\n", c.name, megabytesPerSecond(c, doc), expected,
                    kRounds);
    }
    double ours = megabytesPerSecond(contenders[0], doc);
    double expat = megabytesPerSecond(contenders[1], doc);
    double libxml2 = megabytesPerSecond(contenders[2], doc);
    xmlCleanupParser();
    std::printf("ratio_vs_expat=%.2f ratio_vs_libxml2=%.2f\n", ours / expat, ours / libxml2);
    return 0;
}
