// Mutated corpus documents through the reader and the emitters: every
// mutation must end either in generated text or in a rejection that says
// what went wrong and where; a crash is caught by the sanitizers and a hang
// by the test's time-out. The mutations are drawn from fixed seeds, so a
// failure names a case that reruns the same way.

#include "generator/emit/GeneratorRun.h"
#include "generator/emit/TextBuffer.h"
#include "generator/model/ProjectRecord.h"
#include "schema/SchemaParserException.h"
#include "support/LocatedMessage.h"
#include "support/ProxyEnvironment.h"
#include "support/ScopedWorkingFolder.h"
#include "support/TestFiles.h"
#include "wsdl/WsdlException.h"
#include "xml/XmlPullParserException.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cctype>
#include <random>
#include <sstream>
#include <string_view>

namespace {

const std::string Corpus = KELVANE_CORPUS_DIR "/wsdl/";

// Markup that steers a mutation into the reader's deeper paths.
const char* const Tokens[] = {
    "<", ">", "</", "/>", "&", "&amp;", "&#0;", "&#x110000;", "\"", "'", "<!--", "-->", "<![CDATA[", "]]>",
    "<?xml version=\"1.0\"?>", "<!DOCTYPE d [<!ENTITY e \"x\">]>", "xmlns:a=\"urn:a\"", "a:",
    " maxOccurs=\"unbounded\"", " minOccurs=\"-1\"", " type=\"xsd:int\"", " type=\"tns:Missing\"",
    " ref=\"tns:Missing\"", " base=\"soapenc:Array\"", "<xsd:element name=\"e\" type=\"xsd:string\"/>",
    "<xsd:complexType name=\"c\"><xsd:sequence>", "</xsd:sequence></xsd:complexType>",
    "<part name=\"p\" element=\"tns:Missing\"/>", "<message name=\"m\"/>", "<operation name=\"o\">",
    "<soap:body use=\"encoded\"/>", "<import namespace=\"urn:x\" location=\"missing.wsdl\"/>",
    "<xsd:import schemaLocation=\"missing.xsd\"/>", "\xef\xbb\xbf", "\xff\xfe", "\x80", "\r\n"};

// mt19937's raw output is the same everywhere; the standard distributions are not.
class Mutator {
public:
    explicit Mutator(std::uint32_t seed) : random_(seed) {}

    std::string mutate(std::string text)
    {
        const unsigned count = 1 + below(2);
        for (unsigned i = 0; i < count; ++i)
            step(text);
        return text;
    }

private:
    std::size_t below(std::size_t n) { return n == 0 ? 0 : random_() % n; }

    void step(std::string& text)
    {
        const std::size_t at = below(text.size() + 1);
        const std::size_t length = std::min<std::size_t>(1 + below(64), text.size() - at);
        switch (below(6)) {
        case 0: // one byte changed
            if (at < text.size())
                text[at] = static_cast<char>(random_() & 0xff);
            break;
        case 1:
            text.erase(at, length);
            break;
        case 2:
            text.insert(at, text.substr(at, length));
            break;
        case 3:
            text.resize(at);
            break;
        case 4:
            text.insert(at, Tokens[below(sizeof Tokens / sizeof Tokens[0])]);
            break;
        default: { // a piece moved elsewhere
            const std::string piece = text.substr(at, length);
            text.erase(at, length);
            text.insert(below(text.size() + 1), piece);
        }
        }
    }

    std::mt19937 random_;
};

// Some line of the text names the document, the line and the column:
// "doc.wsdl:<line>:<column>: " followed by the message.
bool saysWhere(const std::string& text)
{
    bool found = false;
    testsupport::forEachLine(text, [&](std::string_view line) {
        found = found || testsupport::isLocatedLine(line, "doc.wsdl", true);
    });
    return found;
}

enum class Outcome { Generated, Rejected, Unclear };

// What one document does to the reader and the emitters, and the message
// that went with a rejection.
Outcome generate(const std::string& document, std::string& message)
{
    testsupport::writeBytes("doc.wsdl", document);
    CProjectRecord project;
    project.name = "fz";
    project.wsdlPath = "doc.wsdl";
    project.targetPlatform = CProjectRecord::Unix;
    std::ostringstream messages;
    CGeneratedFiles files;
    try {
        if (generateSources(project, KELVANE_SOURCE_DIR "/runtime/soap-schemas/", messages, files))
            return files.header.empty() ? Outcome::Unclear : Outcome::Generated;
        message = messages.str();
    } catch (const Wsdl::WsdlException& failure) {
        message = "doc.wsdl:" + std::to_string(failure.line) + ":" + std::to_string(failure.column) + ": " +
            failure.description;
    } catch (const Schema::SchemaParserException& failure) {
        message = failure.getDescription();
    } catch (const XmlPullParserException& failure) {
        message = failure.description;
    } catch (const std::exception& failure) {
        message = std::string("std::exception: ") + failure.what();
        return Outcome::Unclear;
    }
    return saysWhere(message) ? Outcome::Rejected : Outcome::Unclear;
}

TEST(GeneratorFuzzTest, MutatedCorpusDocumentsGenerateOrAreRejectedWithAMessage)
{
    const testsupport::ProxyEnvironment refused(9);
    const testsupport::ScopedWorkingFolder folder;
    const char* const seeds[] = {"savon/rpc_literal.wsdl", "savon/blz_service.wsdl",
                                 "zeep/wsdl_files/soap_header.wsdl", "axis1/integration/arrays2/arraytest.wsdl",
                                 "axis1/interop3/rpcEnc/InteropTestRpcEnc.wsdl",
                                 "axis1/integration/attachments/mime.wsdl"};
    const int casesPerSeed = 1000;
    int generated = 0;
    int rejected = 0;
    for (const char* seed : seeds) {
        const std::string original = testsupport::readBytes(Corpus + seed);
        ASSERT_FALSE(original.empty()) << seed;
        Mutator mutator(static_cast<std::uint32_t>(std::hash<std::string>()(seed) & 0xffffffffu));
        for (int i = 0; i < casesPerSeed; ++i) {
            std::string message;
            const Outcome outcome = generate(mutator.mutate(original), message);
            EXPECT_NE(outcome, Outcome::Unclear) << seed << " case " << i << ": " << message;
            (outcome == Outcome::Generated ? generated : rejected)++;
        }
    }
    // Both roads are taken: the mutations neither all break nor all spare the documents.
    EXPECT_GT(generated, 200);
    EXPECT_GT(rejected, 200);
    std::cout << "fuzz cases: " << generated << " generated, " << rejected << " rejected\n";
}

} // namespace
