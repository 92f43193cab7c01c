// Reads one document made of the corpus's real WSDL and XSD files with the pull
// parser, libxml2 (SAX2, from memory), expat and pugixml, each as a consumer
// would: it touches every element's name and namespace, every attribute's name
// and value, and every text. The last line holds the ratios (their time over ours).
#include "xml/XmlPullParser.h"

#include <expat.h>
#include <libxml/parser.h>
#ifdef KELVANE_HAVE_PUGIXML
#include <pugixml.hpp>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <istream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

const std::string kCorpus = KELVANE_CORPUS_DIR "/wsdl/";
constexpr std::size_t kMinimumSize = 32u << 20;
constexpr int kRounds = 7;

// What a consumer saw: how many elements and attributes, and how many bytes of
// names, namespaces, values and text it touched.
struct Seen {
    long elements = 0;
    long attributes = 0;
    long bytes = 0;
    long textBytes = 0;
};

// A read-only stream buffer over memory; the parser's block reads copy from it.
class MemoryStreamBuf : public std::streambuf {
public:
    MemoryStreamBuf(const char* data, std::size_t size)
    {
        char* begin = const_cast<char*>(data);
        setg(begin, begin, begin + size);
    }
};

Seen readWithPullParser(const std::string& doc)
{
    MemoryStreamBuf buffer(doc.data(), doc.size());
    std::istream in(&buffer);
    XmlPullParser parser(in);
    parser.setFeature(XmlPullParser::FEATURE_PROCESS_NAMESPACES, true);
    Seen seen;
    for (int e = parser.next(); e != XmlPullParser::END_DOCUMENT; e = parser.next()) {
        if (e == XmlPullParser::START_TAG) {
            ++seen.elements;
            seen.bytes += static_cast<long>(parser.getName().size() + parser.getNamespace().size());
            const int count = parser.getAttributeCount();
            seen.attributes += count;
            for (int i = 0; i < count; ++i) {
                seen.bytes += static_cast<long>(parser.getAttributeNamespace(i).size() +
                                                parser.getAttributeName(i).size() + parser.getAttributeValue(i).size());
            }
        } else if (e == XmlPullParser::TEXT) {
            seen.textBytes += static_cast<long>(parser.getText().size());
        }
    }
    return seen;
}

// expat reports a namespaced name as URI, separator, local name.
long expatNameBytes(const XML_Char* name)
{
    const char* local = std::strchr(name, '\x01');
    return static_cast<long>(std::strlen(name)) - (local != nullptr ? 1 : 0);
}

void XMLCALL expatStart(void* data, const XML_Char* name, const XML_Char** attributes)
{
    Seen& seen = *static_cast<Seen*>(data);
    ++seen.elements;
    seen.bytes += expatNameBytes(name);
    for (int i = 0; attributes[i] != nullptr; i += 2) {
        ++seen.attributes;
        seen.bytes += expatNameBytes(attributes[i]) + static_cast<long>(std::strlen(attributes[i + 1]));
    }
}

void XMLCALL expatText(void* data, const XML_Char*, int length)
{
    static_cast<Seen*>(data)->textBytes += length;
}

Seen readWithExpat(const std::string& doc)
{
    Seen seen;
    XML_Parser parser = XML_ParserCreateNS(nullptr, '\x01');
    XML_SetUserData(parser, &seen);
    XML_SetStartElementHandler(parser, expatStart);
    XML_SetCharacterDataHandler(parser, expatText);
    if (XML_Parse(parser, doc.data(), static_cast<int>(doc.size()), 1) != XML_STATUS_OK) {
        std::fprintf(stderr, "expat: %s at line %lu\n", XML_ErrorString(XML_GetErrorCode(parser)),
                     static_cast<unsigned long>(XML_GetCurrentLineNumber(parser)));
        seen.elements = -1;
    }
    XML_ParserFree(parser);
    return seen;
}

long xmlLength(const xmlChar* text)
{
    return text != nullptr ? static_cast<long>(std::strlen(reinterpret_cast<const char*>(text))) : 0;
}

void libxml2Start(void* data, const xmlChar* localName, const xmlChar*, const xmlChar* uri, int, const xmlChar**,
                  int count, int, const xmlChar** attributes)
{
    Seen& seen = *static_cast<Seen*>(data);
    ++seen.elements;
    seen.bytes += xmlLength(localName) + xmlLength(uri);
    seen.attributes += count;
    // Five pointers an attribute: local name, prefix, URI, value start and end.
    for (int i = 0; i < count * 5; i += 5) {
        seen.bytes += xmlLength(attributes[i]) + xmlLength(attributes[i + 2]) +
                      static_cast<long>(attributes[i + 4] - attributes[i + 3]);
    }
}

void libxml2Text(void* data, const xmlChar*, int length)
{
    static_cast<Seen*>(data)->textBytes += length;
}

Seen readWithLibxml2(const std::string& doc)
{
    xmlSAXHandler handler{};
    handler.initialized = XML_SAX2_MAGIC;
    handler.startElementNs = libxml2Start;
    handler.characters = libxml2Text;
    handler.cdataBlock = libxml2Text;
    Seen seen;
    if (xmlSAXUserParseMemory(&handler, &seen, doc.data(), static_cast<int>(doc.size())) != 0) {
        std::fprintf(stderr, "libxml2: parse failed\n");
        seen.elements = -1;
    }
    return seen;
}

#ifdef KELVANE_HAVE_PUGIXML
// pugixml builds a tree and knows no namespaces: names are read as written and
// namespace declarations count as attributes.
void walk(const pugi::xml_node& node, Seen& seen)
{
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element) {
            ++seen.elements;
            seen.bytes += static_cast<long>(std::strlen(child.name()));
            for (pugi::xml_attribute a = child.first_attribute(); a; a = a.next_attribute()) {
                ++seen.attributes;
                seen.bytes += static_cast<long>(std::strlen(a.name()) + std::strlen(a.value()));
            }
            walk(child, seen);
        } else {
            seen.textBytes += static_cast<long>(std::strlen(child.value()));
        }
    }
}

Seen readWithPugixml(const std::string& doc)
{
    Seen seen;
    pugi::xml_document tree;
    const pugi::xml_parse_result result =
        tree.load_buffer(doc.data(), doc.size(), pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_utf8);
    if (!result) {
        std::fprintf(stderr, "pugixml: %s at offset %ld\n", result.description(), static_cast<long>(result.offset));
        seen.elements = -1;
    } else {
        walk(tree, seen);
    }
    return seen;
}
#endif

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool isUtf8(const std::string& s)
{
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
        if (n == 0 || i + n > s.size()) {
            return false;
        }
        for (std::size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += n;
    }
    return true;
}

// The root element of a document and what follows it: the prolog (XML
// declaration, comments, processing instructions) goes. Empty for a document
// with a DOCTYPE, whose entities the body might need.
std::string body(const std::string& doc)
{
    std::size_t at = doc.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    for (;;) {
        at = doc.find('<', at);
        if (at == std::string::npos || doc.compare(at, 9, "<!DOCTYPE") == 0) {
            return std::string();
        }
        if (doc.compare(at, 4, "<!--") == 0) {
            at = doc.find("-->", at);
        } else if (doc.compare(at, 2, "<?") == 0) {
            at = doc.find("?>", at);
        } else {
            return doc.substr(at);
        }
        if (at == std::string::npos) {
            return std::string();
        }
    }
}

bool pullParserAccepts(const std::string& doc)
{
    try {
        return readWithPullParser(doc).elements > 0;
    } catch (const XmlPullParserException&) {
        return false;
    }
}

// The bodies of the well-formed corpus files that every reader takes alone,
// as children of one root, repeated to at least the minimum size.
std::string makeDocument(int& files)
{
    std::ifstream manifest(kCorpus + "MANIFEST.tsv");
    std::string line;
    std::getline(manifest, line);
    std::string bodies;
    files = 0;
    while (std::getline(manifest, line)) {
        if (line.find("xmllint: well-formed") == std::string::npos) {
            continue;
        }
        const std::string part = body(readFile(kCorpus + line.substr(0, line.find('\t'))));
        if (part.empty() || !isUtf8(part) || !pullParserAccepts(part) || readWithExpat(part).elements <= 0) {
            continue;
        }
        bodies += part + "\n";
        ++files;
    }
    std::string doc = "<corpus>\n";
    doc.reserve(kMinimumSize + bodies.size() + 32);
    while (doc.size() < kMinimumSize && !bodies.empty()) {
        doc += bodies;
    }
    return doc + "</corpus>\n";
}

struct Contender {
    Contender(const char* contenderName, Seen (*reader)(const std::string&)) : name(contenderName), run(reader) {}
    const char* name;
    Seen (*run)(const std::string&);
    double best = 1e100; // seconds
    Seen seen;
};

// Rounds alternate between the readers so that a change in the machine's load
// hits all of them alike; the best time of each counts.
void measure(std::vector<Contender>& contenders, const std::string& doc)
{
    for (int round = 0; round < kRounds; ++round) {
        for (auto& c : contenders) {
            auto start = std::chrono::steady_clock::now();
            c.seen = c.run(doc);
            std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            if (c.seen.elements <= 0) {
                std::exit(1);
            }
            c.best = std::min(c.best, took.count());
        }
    }
}

// The namespace-aware readers must agree on what they touched, except that
// libxml2 hands "&amp;" in a value on as "&#38;"; pugixml on the elements.
bool agree(const std::vector<Contender>& contenders)
{
    const Seen& ours = contenders[0].seen;
    bool same = true;
    for (const auto& c : contenders) {
        const bool tree = std::strcmp(c.name, "pugixml") == 0;
        const bool sameBytes = c.seen.bytes == ours.bytes || std::strcmp(c.name, "libxml2") == 0;
        if (c.seen.elements != ours.elements ||
            (!tree && (c.seen.attributes != ours.attributes || !sameBytes || c.seen.textBytes != ours.textBytes))) {
            std::fprintf(stderr, "%s saw %ld elements, %ld attributes, %ld+%ld bytes; ours %ld, %ld, %ld+%ld\n",
                         c.name, c.seen.elements, c.seen.attributes, c.seen.bytes, c.seen.textBytes, ours.elements,
                         ours.attributes, ours.bytes, ours.textBytes);
            same = false;
        }
    }
    return same;
}

} // namespace

int main()
{
    int files = 0;
    const std::string doc = makeDocument(files);
    std::printf("document: %.1f MB from %d corpus files\n", static_cast<double>(doc.size()) / (1024.0 * 1024.0),
                files);
    std::vector<Contender> contenders = {
        {"pull parser", readWithPullParser}, {"libxml2", readWithLibxml2}, {"expat", readWithExpat},
#ifdef KELVANE_HAVE_PUGIXML
        {"pugixml", readWithPugixml},
#endif
    };
    measure(contenders, doc);
    xmlCleanupParser();
    if (!agree(contenders)) {
        return 1;
    }
    for (const auto& c : contenders) {
        std::printf("%-12s %8.1f MB/s  (%ld elements, %ld attributes, best of %d)\n", c.name,
                    static_cast<double>(doc.size()) / (1024.0 * 1024.0) / c.best, c.seen.elements, c.seen.attributes,
                    kRounds);
    }
    const double ours = contenders[0].best;
    std::printf("ratio_vs_libxml2=%.2f ratio_vs_expat=%.2f", contenders[1].best / ours, contenders[2].best / ours);
    if (contenders.size() > 3) {
        std::printf(" ratio_vs_pugixml=%.2f", contenders[3].best / ours);
    }
    std::printf("\n");
    return 0;
}
