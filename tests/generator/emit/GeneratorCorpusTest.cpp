// Every entry point of the corpus that the reader accepts (a test case each): its header is
// emitted and compiles warning-clean for Unix and Windows targets (gcc and
// mingw-w64), so do the source (gcc) and the demo of each target, and emitting leaves the schemas' type tables as the parse
// left them. Downloads go to a proxy that refuses them,
// so documents that import by absolute URL end as rejected and are passed over.

#include "GeneratorTestSupport.h"
#include "generator/emit/DemoFile.h"
#include "schema/SchemaConstants.h"
#include "schema/SchemaParser.h"
#include "schema/SchemaParserException.h"
#include "support/CorpusManifest.h"
#include "support/ProxyEnvironment.h"
#include "wsdl/WsdlException.h"
#include "xml/XmlPullParserException.h"

#include <algorithm>
#include <cctype>


using namespace gentest;

namespace {

using testsupport::CorpusFolder;

std::vector<std::string> entryPoints()
{
    std::vector<std::string> entries;
    for (const auto& entry : testsupport::corpusManifest()) {
#ifdef _WIN32
        // Under Wine no document that imports anything is tried: nothing may be fetched.
        if (entry.imports != "no")
            continue;
#endif
        if (entry.entryPoint() && entry.imports.find("remote") == std::string::npos)
            entries.push_back(entry.path);
    }
    return entries;
}

std::vector<const Schema::XsdType*> typeSlots(const Wsdl::WsdlParser& parser)
{
    std::vector<const Schema::XsdType*> slots;
    for (int k = 0; k < parser.getSchemaCount(); ++k) {
        const Schema::SchemaParser* schema = parser.getSchemaParser(k + 2);
        for (int i = 0; i < schema->getNumTypes(); ++i)
            slots.push_back(schema->getType(Schema::FIRST_USER_TYPE + i));
    }
    return slots;
}

class CorpusEntryTest : public GeneratorTest {
protected:
    bool parses(const std::string& location)
    {
        try {
            parseLocation(location);
        } catch (const Wsdl::WsdlException&) {
            return false;
        } catch (const Schema::SchemaParserException&) {
            return false;
        } catch (const XmlPullParserException&) {
            return false;
        }
        return !parser_->hasError();
    }

    // The demo of the project's target with its header.
    CompileResult compileDemo()
    {
        CTextBuffer demo;
        writeDemoFile(*context_, demo);
        return compileC(demo.text(), {{"corpus_api.h", headerText()}}, project_.isWindowsTarget());
    }
};

// One case per entry point, so that the shares of a long run divide the corpus between them.
class GeneratorCorpusTest : public CorpusEntryTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(GeneratorCorpusTest, HeaderOfAnAcceptedEntryPointCompiles)
{
    const testsupport::ProxyEnvironment refused(1);
    if (!parses(CorpusFolder + GetParam()))
        GTEST_SKIP() << "rejected by the reader";
    const std::vector<const Schema::XsdType*> before = typeSlots(*parser_);
    view_ = std::make_unique<CServiceView>(readServiceView(*parser_));
    const std::string text = emitStructs("corpus");
    EXPECT_EQ(typeSlots(*parser_), before);
    if (canCompileC()) {
        const CompileResult result = compileHeader();
        EXPECT_EQ(result.status, 0) << result.output.substr(0, 2000);
        const CompileResult source = compilePartialSource();
        EXPECT_EQ(source.status, 0) << "source: " << source.output.substr(0, 2000);
        const CompileResult demo = compileDemo();
        EXPECT_EQ(demo.status, 0) << "demo: " << demo.output.substr(0, 2000);
    }
    if (canCompileForWindows()) {
        project_.targetPlatform = CProjectRecord::Windows;
        const CompileResult result = compileHeader();
        EXPECT_EQ(result.status, 0) << "Windows target: " << result.output.substr(0, 2000);
        const CompileResult demo = compileDemo();
        EXPECT_EQ(demo.status, 0) << "Windows demo: " << demo.output.substr(0, 2000);
    }
}

// The entry point's path as a test name: letters and digits, the rest '_', and its place in the list.
std::string caseName(const ::testing::TestParamInfo<std::string>& info)
{
    std::string name = std::to_string(info.index) + "_" + info.param;
    std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Corpus, GeneratorCorpusTest, ::testing::ValuesIn(entryPoints()), caseName);

// The cases above pass over what the reader rejects: most of the corpus must be taken.
TEST_F(CorpusEntryTest, MoreThanTwentyEntryPointsAreAccepted)
{
    const testsupport::ProxyEnvironment refused(1);
    int accepted = 0;
    for (const std::string& entry : entryPoints())
        accepted += parses(CorpusFolder + entry) ? 1 : 0;
    EXPECT_GT(accepted, 20);
}

} // namespace
